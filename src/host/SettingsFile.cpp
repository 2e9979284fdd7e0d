#include "host/SettingsFile.h"

#include <windows.h>

#include "host/ModulePath.h"

namespace {
constexpr char kSettingsFileName[] = "QuorlinEx.ini";
constexpr DWORD kFirstReadSize = 2048;
}  // namespace

TSettingsFile::TSettingsFile(const std::string &moduleDirectory, const std::string &section)
    : path_(moduleDirectory + kSettingsFileName), section_(section) {}

std::string TSettingsFile::Read(const std::string &key, const std::string &fallback) const {
  // A value that fills the buffer up to its last byte may have been cut; read it again into a
  // buffer twice as large until it fits, so long size lists come back whole.
  std::string value(kFirstReadSize, '\0');
  for (;;) {
    const DWORD length =
        GetPrivateProfileStringA(section_.c_str(), key.c_str(), fallback.c_str(), &value[0],
                                 static_cast<DWORD>(value.size()), path_.c_str());
    if (length + 1 < value.size()) {
      value.resize(length);
      return value;
    }
    value.resize(value.size() * 2);
  }
}

bool TSettingsFile::Store(const std::string &key, const std::string &value) const {
  if (Holds(key, value)) return true;
  if (value.size() > kMaxWrittenValueBytes) return false;
  // Two fallbacks tell a missing key from one that holds either of them.
  const std::string before = Read(key, "0");
  const bool existed = before != "0" || Read(key, "1") != "1";
  if (Write(key, value.c_str()) && Holds(key, value)) return true;
  Write(key, existed ? before.c_str() : nullptr);  // null removes the key again
  return false;
}

// Whether the key is present and reads back as `value`.
bool TSettingsFile::Holds(const std::string &key, const std::string &value) const {
  return Read(key, "0") == value && Read(key, "1") == value;
}

bool TSettingsFile::Write(const std::string &key, const char *value) const {
  return WritePrivateProfileStringA(section_.c_str(), key.c_str(), value, path_.c_str()) != FALSE;
}

TSettingsReadHold::TSettingsReadHold(const TSettingsFile &file)
    : handle_(CreateFileA(file.Path().c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
  // A missing file is read as it is: every key gives its default.
  const DWORD error = handle_ == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
  readable_ = error == ERROR_SUCCESS || error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

TSettingsReadHold::~TSettingsReadHold() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
}

TSettingsFile SettingsFileOf(const std::string &modulePath) {
  return TSettingsFile(DirectoryOf(modulePath), BaseNameOf(modulePath));
}

const char *SizeListKey(int32_t yuy2Mode) { return yuy2Mode != 0 ? "YUY2SizeList" : "SizeList"; }
