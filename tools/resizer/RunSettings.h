// The settings one command-line run hands to the plug-in, made from the command line and the
// installation alone, so that a run never depends on what earlier runs left behind:
//   - size: --size (a side of -1 or -2 from the input's shape), else the size list's first
//     entry, else the record's default 512x384, with a warning when that has another shape;
//   - luma: --luma, else Spline36 (the first enabled function when Spline36 is off);
//   - chroma: --chroma, else the luma method with the luma parameter;
//   - a parameter: the option, else the function's default; outside its range it is refused;
//   - NearestNeighbor or AreaAverage on either side runs on both (NearestNeighbor first), as the
//     plug-in does;
//   - kernel: --kernel, else the installation's first kernel.
// Names the installation does not offer are refused with the names it does.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "resizer/CommandLine.h"
#include "resizer/Installation.h"

namespace quorlin_resizer {

struct PlaneMethod {
  std::string name;
  bool hasParam = false;
  int32_t param = 0;
};

struct RunSettings {
  int32_t width = 0, height = 0;
  PlaneMethod luma, chroma;
  std::string kernel;
  std::vector<std::string> warnings;  // one line each: what the command line asked but won't run
};

// Throws UsageError for a name that is not offered, a parameter outside its range or a size
// that cannot be. An installation that passes frames through checks no names.
RunSettings ResolveRunSettings(const ResizerCommand &command, const Installation &installation,
                               const Y4mHeader &input);

// The 112-byte settings record that makes the plug-in run `settings`.
std::vector<uint8_t> SettingsRecordOf(const RunSettings &settings);

// "1280x720, luma Lanczos 3, chroma Spline36, kernel SSE2": what the plug-in runs.
std::string DescribeRunSettings(const RunSettings &settings);

}  // namespace quorlin_resizer
