// The command line of quorlin_resizer:
//   quorlin_resizer [options] [input.y4m|-] [-o output.y4m|-]
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "resizer/SettingsRecord.h"
#include "video-io/Y4mFormat.h"

namespace quorlin_resizer {

// A command line that cannot be used; the message is one line for the user.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A side of --size given as -1 or -2, as ffmpeg's scale filter takes them: computed from the
// other side and the input's stored shape, rounded to the nearest whole or even number.
constexpr int kSideFromShape = -1, kEvenSideFromShape = -2;

struct SizeRequest {
  int width = 0, height = 0;  // pixels, or kSideFromShape / kEvenSideFromShape
};

struct ResizerCommand {
  std::string aufPath;     // empty: Quorlin.auf beside the program or in the build's dist
  std::string inputPath;   // empty: the built-in clip; "-": standard input
  std::string outputPath;  // empty: no output; "-": standard output
  bool yuy2 = false;
  int threads = 0;         // 0: one per logical processor
  int maxWidth = 0;        // 0: large enough for the input and the target size
  int maxHeight = 0;
  int frames = -1;         // -1: every frame of the input, or the built-in clip's length
  bool save = false;       // run the frames as a save and report the plug-in's timing
  bool window = false;     // show the filter window and a preview of the first frame
  bool remember = false;   // let the plug-in keep what this run used in its settings file
  bool quiet = false;      // only warnings and errors
  bool overwrite = false;  // -y: an existing output may be replaced
  bool help = false;
  bool version = false;
  std::optional<SizeRequest> size;           // --size; none: the installation's first size
  std::optional<ChromaFormat> outputChroma;  // --pix-fmt; none: 4:4:4, or 4:2:2 in YUY2 mode
  // Parameters as typed: their range is the chosen function's, known once it is resolved.
  std::optional<std::string> lumaParam, chromaParam;
  SettingsChanges settings;  // the methods and kernel named
};

// Parses argv[1..]; throws UsageError. A repeated option takes its last value.
ResizerCommand ParseCommandLine(const std::vector<std::string> &args);

extern const char kUsageText[];

// `text` as a decimal whole number, or none.
std::optional<long long> WholeNumber(const std::string &text);

// The chroma format of a --pix-fmt name (yuv444p, yuv422p, yuv420p), or none.
std::optional<ChromaFormat> ChromaFormatNamed(const std::string &name);

}  // namespace quorlin_resizer
