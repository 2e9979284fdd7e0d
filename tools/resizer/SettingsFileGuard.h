// Keeps a file as it was: the plug-in writes what it remembers (the parameters last used with
// each function, the size list, its title) into its settings file when it shuts down, and a
// command-line run must not change what the editor finds there. The guard reads the file's
// bytes when made and puts them back, or removes a file that did not exist, when destroyed.
#pragma once

#include <optional>
#include <string>

namespace quorlin_resizer {

class SettingsFileGuard {
 public:
  explicit SettingsFileGuard(std::string path);
  ~SettingsFileGuard();
  SettingsFileGuard(const SettingsFileGuard &) = delete;
  SettingsFileGuard &operator=(const SettingsFileGuard &) = delete;

 private:
  std::string path_;
  std::optional<std::string> bytes_;  // none: the file did not exist
};

}  // namespace quorlin_resizer
