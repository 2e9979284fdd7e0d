// One section of the installation's settings file "QuorlinEx.ini", read and written key by key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// The longest value the system's profile functions write whole: they pass a value on as a
// counted wide-character text of at most 32767 characters with its zero, and drop or cut a
// longer one while still reporting success.
constexpr size_t kMaxWrittenValueBytes = 32766;

class TSettingsFile {
 public:
  // The file "QuorlinEx.ini" in `moduleDirectory` (which ends in a separator), section `section`.
  TSettingsFile(const std::string &moduleDirectory, const std::string &section);

  // The key's whole value, however long, or `fallback` when the file, section or key is missing.
  std::string Read(const std::string &key, const std::string &fallback) const;
  // Makes the key hold `value`, writing it only when the file does not hold that value
  // already, so that what the plug-in did not change stays in the file as the user wrote it.
  // A value the system cannot write whole (longer than kMaxWrittenValueBytes), or one that does
  // not read back whole, leaves the key as it was and gives false.
  bool Store(const std::string &key, const std::string &value) const;

  const std::string &Path() const { return path_; }

 private:
  bool Holds(const std::string &key, const std::string &value) const;
  bool Write(const std::string &key, const char *value) const;

  std::string path_;
  std::string section_;
};

// The file held open for reading while start-up reads it: other programs may still read and
// write it, but none can lock it midway. Readable() is false when the file is there and cannot
// be opened (another program holds it locked, or reading is not allowed): every read then gives
// its fallback, and those fallbacks must not replace what the file holds.
class TSettingsReadHold {
 public:
  explicit TSettingsReadHold(const TSettingsFile &file);
  ~TSettingsReadHold();
  TSettingsReadHold(const TSettingsReadHold &) = delete;
  TSettingsReadHold &operator=(const TSettingsReadHold &) = delete;

  bool Readable() const { return readable_; }

 private:
  void *handle_;
  bool readable_;
};

// The settings file beside the module at `modulePath`, in the section named after the module's
// file name without extension: the same file for every module name, one section per name.
TSettingsFile SettingsFileOf(const std::string &modulePath);

// The key of the size list: "YUY2SizeList" in YUY2 mode, "SizeList" otherwise.
const char *SizeListKey(int32_t yuy2Mode);
