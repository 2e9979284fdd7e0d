// What an installation of the plug-in offers the command line: the enabled window functions
// with their parameter ranges, the built-in methods, the kernels and the first size of the size
// list, read with the plug-in's own lists and settings-file rules. The command line refuses what
// is not offered; the plug-in itself would fall back to its first entry without a word.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorlin_resizer {

struct MethodInfo {
  std::string name;
  bool hasParam = false;  // false: the method takes no parameter (min = max = default)
  int32_t paramMin = 0, paramMax = 0, paramDefault = 0;
  bool builtIn = false;   // NearestNeighbor or AreaAverage: both planes, no parameter
};

struct FrameSize {
  int32_t width = 0, height = 0;
};

struct Installation {
  std::string pluginDirectory;
  std::vector<MethodInfo> methods;  // enabled window functions in list order, then built-ins
  std::vector<std::string> kernels;
  std::optional<FrameSize> firstSize;  // the size list's first well-formed entry

  bool PassesThrough() const { return methods.empty() || kernels.empty(); }
  const MethodInfo *FindMethod(const std::string &name) const;
  std::string MethodNames() const;  // "A, B, C"
  std::string KernelNames() const;
};

extern const char kNearestNeighbor[];
extern const char kAreaAverage[];

// The installation of the plug-in at `aufPath` (a full path): its settings file
// "QuorlinEx.ini" beside it (section named after the module), the plug-in directory it names
// ("DLL" by default) and the libraries there. The built-in methods exist only for YC48 frames.
Installation ReadInstallation(const std::string &aufPath, bool yuy2);

// The first entry of a size list ("1280x720,640x480") that is a positive WxH.
std::optional<FrameSize> FirstSizeOf(const std::string &sizeList);

// Lines for --help: each method with its parameter range and default, then the kernels.
std::string DescribeInstallation(const Installation &installation);

}  // namespace quorlin_resizer
