// The output file of a run: never the input, never an existing file without -y, and never a
// half-written file in place of a good one.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <functional>

#include "video-io/FileHandles.h"
#include "video-io/OutputFile.h"
#include "video-io/WindowsText.h"

using namespace quorlin_resizer;

namespace {

// A fresh folder for each case, removed with what is left in it.
class Folder {
 public:
  explicit Folder(const std::string &name) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    path_ = Utf8FromWide(temp) + "quorlin-output-test-" + name + "-" +
            std::to_string(GetCurrentProcessId());
    CreateDirectoryW(WideFromUtf8(path_).c_str(), nullptr);
  }
  ~Folder() {
    for (const std::string &name : Names()) DeleteFileW(WideFromUtf8(Path(name)).c_str());
    RemoveDirectoryW(WideFromUtf8(path_).c_str());
  }
  std::string Path(const std::string &name) const { return path_ + "\\" + name; }
  void Write(const std::string &name, const std::string &bytes) const {
    OutputFile file(Path(name), "", true);
    file.Stream() << bytes;
    file.Commit();
  }
  std::string Read(const std::string &name) const {
    InputFile input = OpenInputFile(Path(name));
    return std::string(std::istreambuf_iterator<char>(*input.stream), {});
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE search = FindFirstFileW(WideFromUtf8(path_ + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      const std::string name = Utf8FromWide(found.cFileName);
      if (name != "." && name != "..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
  }

 private:
  std::string path_;
};

}  // namespace

TEST(OutputFile, NothingIsLostWhateverTheRunDoes) {
  struct Case {
    const char *what;
    const char *input;  // "" for the built-in clip, else a file name in the folder, or "-"
    bool overwrite;
    bool commit;             // the run succeeds
    bool refused;            // OutputRefused before anything is written
    const char *afterwards;  // the output's content; "" when it must not exist
  };
  const Case cases[] = {
      {"a new output", "", false, true, false, "new"},
      {"a new output of a failed run", "", false, false, false, ""},
      {"an existing output without -y", "", false, true, true, "old"},
      {"an existing output with -y", "", true, true, false, "new"},
      {"an existing output of a failed run", "", true, false, false, "old"},
      {"the input by its own name", "out.y4m", true, true, true, "old"},
      {"the input by another name", "link.y4m", true, true, true, "old"},
      {"an existing output from standard input", "-", true, true, false, "new"},
  };
  for (const Case &c : cases) {
    Folder folder("cases");
    const bool exists = std::string(c.what).find("existing") != std::string::npos ||
                        std::string(c.input).find(".y4m") != std::string::npos;
    if (exists) folder.Write("out.y4m", "old");
    CreateHardLinkW(WideFromUtf8(folder.Path("link.y4m")).c_str(),
                    WideFromUtf8(folder.Path("out.y4m")).c_str(), nullptr);
    const std::string input = std::string(c.input).find(".y4m") != std::string::npos
                                  ? folder.Path(c.input)
                                  : c.input;
    try {
      OutputFile output(folder.Path("out.y4m"), input, c.overwrite);
      output.Stream() << "new";
      EXPECT_EQ(exists ? folder.Read("out.y4m") : "", exists ? "old" : "")
          << c.what << ": in place before the run ends";
      if (c.commit) output.Commit();
      EXPECT_FALSE(c.refused) << c.what;
    } catch (const OutputRefused &e) {
      EXPECT_TRUE(c.refused) << c.what << ": " << e.what();
    }
    if (*c.afterwards) EXPECT_EQ(folder.Read("out.y4m"), c.afterwards) << c.what;
    else EXPECT_EQ(KindOfPath(folder.Path("out.y4m")), PathKind::Missing) << c.what;
    for (const std::string &name : folder.Names())
      EXPECT_TRUE(name == "out.y4m" || name == "link.y4m") << c.what << ": left " << name;
  }
}

TEST(OutputFile, NamesOutsideTheCodePageFoldersAndDevices) {
  Folder folder("names");
  const std::string name = "\xE3\x83\x86\xE3\x82\xB9\xE3\x83\x88\xF0\x9F\x98\x80.y4m";  // テスト😀
  folder.Write(name, "video");
  EXPECT_EQ(folder.Read(name), "video");
  EXPECT_EQ(folder.Names(), std::vector<std::string>{name});
  CreateDirectoryW(WideFromUtf8(folder.Path("sub")).c_str(), nullptr);
  EXPECT_THROW(OutputFile(folder.Path("sub"), "", true), OutputRefused);
  RemoveDirectoryW(WideFromUtf8(folder.Path("sub")).c_str());
  try {
    OpenInputFile(folder.Path("missing.y4m"));
    ADD_FAILURE() << "a missing input opened";
  } catch (const std::runtime_error &e) {
    EXPECT_NE(std::string(e.what()).find("missing.y4m: "), std::string::npos) << e.what();
  }
  OutputFile device("NUL", "", false);
  device.Stream() << "discarded";
  device.Commit();
  EXPECT_EQ(folder.Names(), std::vector<std::string>{name});
}
