// The command line of quorlin_host:
//   quorlin_host [options] [input.y4m|-] [-o output.y4m|-]
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "SettingsRecord.h"

namespace quorlin_host {

// A command line that cannot be used; the message is one line for the user.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct HostCommand {
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
  bool quiet = false;      // no progress line
  bool help = false;
  SettingsChanges settings;
};

// Parses argv[1..]; throws UsageError.
HostCommand ParseCommandLine(const std::vector<std::string> &args);

extern const char kUsageText[];

}  // namespace quorlin_host
