// Plug-in libraries found in a directory, and the owned handles of those kept loaded.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Loads every plain "*.dll" file of `directory` (hidden and system files and folders skipped),
// in the order the directory listing returns them, and offers each loaded module to `accept`.
// A module that `accept` turns down (returns false) is released again, unless its code faulted
// (common/LibraryHealth.h).
void ForEachPluginLibrary(const std::string &directory,
                          const std::function<bool(HMODULE module)> &accept);

// Owns loaded library handles and releases them, last loaded first, on destruction; a library
// out of use because its code faulted stays loaded.
class PluginLibraries {
 public:
  PluginLibraries() = default;
  ~PluginLibraries();
  PluginLibraries(const PluginLibraries &) = delete;
  PluginLibraries &operator=(const PluginLibraries &) = delete;

  void Add(HMODULE module) { handles_.push_back(module); }
  size_t Count() const { return handles_.size(); }

 private:
  std::vector<HMODULE> handles_;
};
