#include "HostCommandLine.h"

#include <climits>
#include <cstdlib>

namespace quorlin_host {

const char kUsageText[] =
    "usage: quorlin_host [options] [input.y4m|-] [-o output.y4m|-]\n"
    "Runs a filter plug-in on 8-bit Y4M video (4:4:4, 4:2:2, 4:2:0) as the editor would.\n"
    "Without input it uses a built-in 1920x1080 moving test pattern.\n"
    "  --auf PATH          plug-in (default: Quorlin.auf beside this program or in dist)\n"
    "  --yuy2              YUY2 filter mode (output 4:2:2) instead of YC48 (output 4:4:4)\n"
    "  --threads N         worker threads (default: one per logical processor)\n"
    "  --max WxH           the editor's maximum image size (default: fits input and target)\n"
    "  --size WxH          target size (default: the first size of the installation's size\n"
    "                      list in QuorlinEx.ini, else 512x384)\n"
    "  --luma NAME         luma method: a window function, NearestNeighbor or AreaAverage\n"
    "                      (default Spline36); the last two apply to luma and chroma alike\n"
    "  --chroma NAME       chroma method (default: the luma method and parameter)\n"
    "  --luma-param N      luma function's parameter (default: the function's default)\n"
    "  --chroma-param N    chroma function's parameter (default: the function's default)\n"
    "  --kernel NAME       kernel (default: the installation's first kernel)\n"
    "  --frames N          process at most N frames\n"
    "  --save              run as a save and print the plug-in's frame timing\n"
    "  --remember          let the plug-in remember this run's parameters in QuorlinEx.ini,\n"
    "                      as the editor does; without it the file is left as it was\n"
    "  --quiet             no progress line\n"
    "  --window            show the filter window with the plug-in's dialog and a preview of\n"
    "                      the first frame after the filter, redrawn as settings change;\n"
    "                      the dialog's changes are remembered, as in the editor\n"
    "  -o PATH             write the result as Y4M (- for standard output)\n"
    "  -h, --help          this text, and the methods and kernels installed\n";

namespace {

int32_t ParseInt(const std::string &option, const std::string &text, long long low,
                 long long high) {
  char *end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0 || value < low || value > high)
    throw UsageError(option + " needs a whole number from " + std::to_string(low) + " to " +
                     std::to_string(high) + ", not \"" + text + "\"");
  return static_cast<int32_t>(value);
}

void ParseSize(const std::string &option, const std::string &text, int &width, int &height) {
  const size_t x = text.find('x');
  if (x == std::string::npos) throw UsageError(option + " needs WxH, not \"" + text + "\"");
  width = ParseInt(option, text.substr(0, x), 1, 16384);
  height = ParseInt(option, text.substr(x + 1), 1, 16384);
}

}  // namespace

HostCommand ParseCommandLine(const std::vector<std::string> &args) {
  HostCommand command;
  bool hasInput = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string &arg = args[i];
    auto value = [&]() -> const std::string & {
      if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
      return args[++i];
    };
    if (arg == "--auf") command.aufPath = value();
    else if (arg == "--yuy2") command.yuy2 = true;
    else if (arg == "--threads") command.threads = ParseInt(arg, value(), 1, 256);
    else if (arg == "--max") ParseSize(arg, value(), command.maxWidth, command.maxHeight);
    else if (arg == "--size") {
      int width, height;
      ParseSize(arg, value(), width, height);
      command.settings.width = width;
      command.settings.height = height;
    } else if (arg == "--luma") command.settings.lumaMode = value();
    else if (arg == "--chroma") command.settings.chromaMode = value();
    else if (arg == "--luma-param") command.settings.lumaParam = ParseInt(arg, value(), INT32_MIN, INT32_MAX);
    else if (arg == "--chroma-param") command.settings.chromaParam = ParseInt(arg, value(), INT32_MIN, INT32_MAX);
    else if (arg == "--kernel") command.settings.kernel = value();
    else if (arg == "--frames") command.frames = ParseInt(arg, value(), 1, INT32_MAX);
    else if (arg == "--save") command.save = true;
    else if (arg == "--window") command.window = true;
    else if (arg == "--remember") command.remember = true;
    else if (arg == "--quiet") command.quiet = true;
    else if (arg == "-o") command.outputPath = value();
    else if (arg == "--help" || arg == "-h") command.help = true;
    else if (arg.size() > 1 && arg[0] == '-') throw UsageError("unknown option " + arg);
    else if (hasInput) throw UsageError("more than one input: " + arg);
    else {
      command.inputPath = arg;
      hasInput = true;
    }
  }
  for (const auto *name : {&command.settings.lumaMode, &command.settings.chromaMode,
                           &command.settings.kernel}) {
    if (*name && (*name)->size() > kSettingsNameSize)
      throw UsageError("name \"" + **name + "\" is longer than 32 bytes");
  }
  return command;
}

}  // namespace quorlin_host
