// The method and kernel names that the plug-in's library folder offers, so that the command
// line can refuse a misspelt name: the plug-in itself would fall back to its first entry
// without a word.
#pragma once

#include <string>
#include <vector>

#include "SettingsRecord.h"

namespace quorlin_host {

struct OfferedNames {
  std::vector<std::string> methods;  // window functions, then the built-in methods
  std::vector<std::string> kernels;
};

// The folder the plug-in loads its libraries from by default: "DLL" beside the .auf.
std::string PluginDirectoryOf(const std::string &aufPath);

// Lists the window functions and kernels of the libraries in `directory` with the project's
// own plug-in lists. The built-in methods exist only for YC48 frames.
OfferedNames FindOfferedNames(const std::string &directory, bool yuy2);

// Throws std::runtime_error naming the offered choices when a luma, chroma or kernel name in
// `changes` is not offered. A side whose list is empty is not checked (nothing to compare).
void CheckOfferedNames(const SettingsChanges &changes, const OfferedNames &offered);

}  // namespace quorlin_host
