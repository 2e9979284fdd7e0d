// Every file a user installs carries the project's version in its version resource, with the
// Japanese string block that the editor's users see in the file's properties.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

const std::wstring kVersion = QUORLIN_VERSION_TEXT;

// What each shipped file describes itself as: UTF-16 as stored, and code page 932 as an ANSI
// program on a Japanese system reads it (this source's narrow literals are stored in CP932).
struct Description {
  std::wstring wide;
  std::string cp932;
};
const std::map<std::wstring, Description> kDescriptions = {
    {L"Quorlin.auf", {L"リサイズフィルタ カルメリオ", "リサイズフィルタ カルメリオ"}},
    {L"DLL\\WindowFuncs.dll", {L"窓関数ライブラリ", "窓関数ライブラリ"}},
    {L"DLL\\Kernel0_AVX512.dll", {L"画素カーネル (AVX-512)", "画素カーネル (AVX-512)"}},
    {L"DLL\\Kernel1_AVX2.dll", {L"画素カーネル (AVX2)", "画素カーネル (AVX2)"}},
    {L"DLL\\Kernel2_SSE2.dll", {L"画素カーネル (SSE2)", "画素カーネル (SSE2)"}},
    {L"DLL\\Kernel9_Portable.dll", {L"画素カーネル (C++)", "画素カーネル (C++)"}},
};

std::wstring DistPath(const std::wstring &relative) { return QUORLIN_DIST_DIR L"\\" + relative; }

// Quorlin.auf and every library of its DLL folder, as the installation holds them.
std::vector<std::wstring> ShippedFiles() {
  std::vector<std::wstring> files{L"Quorlin.auf"};
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(DistPath(L"DLL\\*.dll").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return files;
  do files.push_back(std::wstring(L"DLL\\") + found.cFileName);
  while (FindNextFileW(search, &found));
  FindClose(search);
  return files;
}

std::string Narrow(const std::wstring &text) { return std::string(text.begin(), text.end()); }

class VersionResource {
 public:
  explicit VersionResource(const std::wstring &path) {
    DWORD size = GetFileVersionInfoSizeW(path.c_str(), nullptr);
    data_.resize(size);
    if (size == 0 || !GetFileVersionInfoW(path.c_str(), 0, size, data_.data())) data_.clear();
  }
  bool Present() const { return !data_.empty(); }

  const VS_FIXEDFILEINFO *Fixed() const {
    return static_cast<const VS_FIXEDFILEINFO *>(Query(L"\\"));
  }
  const WORD *Translation() const {
    return static_cast<const WORD *>(Query(L"\\VarFileInfo\\Translation"));
  }
  std::wstring Text(const std::wstring &key) const {
    const void *value = Query(L"\\StringFileInfo\\041103a4\\" + key);
    return value ? static_cast<const wchar_t *>(value) : L"<missing>";
  }
  std::string AnsiText(const std::string &key) const {
    std::string query = "\\StringFileInfo\\041103a4\\" + key;
    void *value = nullptr;
    UINT length = 0;
    if (!VerQueryValueA(data_.data(), query.c_str(), &value, &length) || !value) return "<missing>";
    return static_cast<const char *>(value);
  }

 private:
  const void *Query(const std::wstring &query) const {
    void *value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data_.data(), query.c_str(), &value, &length) || length == 0) return nullptr;
    return value;
  }
  std::vector<char> data_;
};

TEST(VersionResourceTest, EveryShippedFileCarriesTheProjectVersion) {
  const std::vector<std::wstring> files = ShippedFiles();
  ASSERT_GE(files.size(), kDescriptions.size()) << "the DLL folder is missing libraries";
  const DWORD versionMS = MAKELONG(QUORLIN_VERSION_MINOR, QUORLIN_VERSION_MAJOR);
  const DWORD versionLS = MAKELONG(0, QUORLIN_VERSION_PATCH);
  for (const std::wstring &file : files) {
    SCOPED_TRACE(Narrow(file));
    VersionResource resource(DistPath(file));
    ASSERT_TRUE(resource.Present());
    const VS_FIXEDFILEINFO *fixed = resource.Fixed();
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, versionMS);
    EXPECT_EQ(fixed->dwFileVersionLS, versionLS);
    EXPECT_EQ(fixed->dwProductVersionMS, versionMS);
    EXPECT_EQ(fixed->dwProductVersionLS, versionLS);
    const WORD *translation = resource.Translation();
    ASSERT_NE(translation, nullptr);
    EXPECT_EQ(translation[0], 0x0411);
    EXPECT_EQ(translation[1], 932);
    EXPECT_EQ(resource.Text(L"FileVersion"), kVersion);
    EXPECT_EQ(resource.Text(L"ProductVersion"), kVersion);
    EXPECT_EQ(resource.Text(L"ProductName"), L"Quorlin");
    EXPECT_NE(resource.Text(L"LegalCopyright").find(L"Quorlin developers"), std::wstring::npos);
    EXPECT_EQ(resource.Text(L"OriginalFilename"), file.substr(file.rfind(L'\\') + 1));
  }
}

// The descriptions are Japanese: a wrong reading of the resource script's encoding would turn
// them into other characters in the stored UTF-16 and in what an ANSI program gets back.
TEST(VersionResourceTest, DescriptionsKeepTheirJapaneseText) {
  for (const std::wstring &file : ShippedFiles()) {
    SCOPED_TRACE(Narrow(file));
    auto expected = kDescriptions.find(file);
    ASSERT_NE(expected, kDescriptions.end()) << "a shipped file without a description here";
    VersionResource resource(DistPath(file));
    EXPECT_EQ(resource.Text(L"FileDescription"), expected->second.wide);
    EXPECT_EQ(resource.AnsiText("FileDescription"), expected->second.cp932);
  }
}

}  // namespace
