// One section of the installation's settings file "QuorlinEx.ini", read and written key by key.
#pragma once

#include <cstdint>
#include <string>

class TSettingsFile {
 public:
  // The file "QuorlinEx.ini" in `moduleDirectory` (which ends in a separator), section `section`.
  TSettingsFile(const std::string &moduleDirectory, const std::string &section);

  // The key's whole value, however long, or `fallback` when the file, section or key is missing.
  std::string Read(const std::string &key, const std::string &fallback) const;
  // Writes one key at once; false when the file could not be written.
  bool Write(const std::string &key, const std::string &value) const;

  const std::string &Path() const { return path_; }

 private:
  std::string path_;
  std::string section_;
};

// The settings file beside the module at `modulePath`, in the section named after the module's
// file name without extension: the same file for every module name, one section per name.
TSettingsFile SettingsFileOf(const std::string &modulePath);

// The key of the size list: "YUY2SizeList" in YUY2 mode, "SizeList" otherwise.
const char *SizeListKey(int32_t yuy2Mode);
