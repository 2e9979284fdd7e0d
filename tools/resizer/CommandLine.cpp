#include "resizer/CommandLine.h"

#include <climits>
#include <cerrno>
#include <cstdlib>

namespace quorlin_resizer {

const char kUsageText[] =
    "usage: quorlin_resizer [options] [input.y4m|-] [-o output.y4m|-]\n"
    "Resizes 8-bit Y4M video (4:4:4, 4:2:2, 4:2:0) through a filter plug-in, as the editor\n"
    "would. Without an input it resizes a built-in 1920x1080 moving test pattern; - reads\n"
    "standard input. Subsampled chroma is interpolated to every pixel by its Y4M siting\n"
    "(C420jpeg, C420 or none: centred; C420mpeg2: left; C420paldv: top left; C422: left).\n"
    "  --auf PATH          plug-in (default: Quorlin.auf beside this program or in dist)\n"
    "  --yuy2              YUY2 filter mode instead of YC48\n"
    "  --threads N         worker threads (default: one per logical processor)\n"
    "  --max WxH           the editor's maximum image size (default: fits input and target)\n"
    "  --size WxH          target size (default: the first size of the installation's size\n"
    "                      list in QuorlinEx.ini, else 512x384); -1 for one side computes it\n"
    "                      from the input's shape, -2 rounds it to an even number\n"
    "  --pix-fmt FORMAT    output yuv444p, yuv422p (written C422) or yuv420p (written\n"
    "                      C420jpeg); default yuv444p, with --yuy2 yuv422p\n"
    "  --luma NAME         luma method: a window function, NearestNeighbor or AreaAverage\n"
    "                      (default Spline36); the last two apply to luma and chroma alike\n"
    "  --chroma NAME       chroma method (default: the luma method and parameter)\n"
    "  --luma-param N      luma function's parameter (default: the function's default)\n"
    "  --chroma-param N    chroma function's parameter (default: the function's default)\n"
    "  --kernel NAME       kernel (default: the first the installation offers, which with the\n"
    "                      shipped libraries is the fastest the processor runs)\n"
    "  --frames N          process at most N frames\n"
    "  --save              run as a save and print the plug-in's frame timing; the other\n"
    "                      stages wait while the plug-in filters\n"
    "  --remember          let the plug-in remember this run's parameters in QuorlinEx.ini,\n"
    "                      as the editor does; without it the file is left as it was\n"
    "  --quiet             print only warnings and errors\n"
    "  --window            show the filter window with the plug-in's dialog and a preview of\n"
    "                      the first frame after the filter, redrawn as settings change;\n"
    "                      the dialog's changes are remembered, as in the editor\n"
    "  -o PATH             write the result as Y4M (- for standard output); the file appears\n"
    "                      only when the run succeeds, and never replaces the input\n"
    "  -y                  replace an existing output file\n"
    "  -n                  never replace an existing output file (the default)\n"
    "  --version           the program's version\n"
    "  -h, --help          this text, and the methods and kernels installed\n"
    "The output keeps the input's display aspect: its sample aspect (A) is adjusted to the\n"
    "new size. Exit status: 0 done, 1 failed, 2 unusable command line, 130 stopped by Ctrl-C.\n";

namespace {

int32_t ParseInt(const std::string &option, const std::string &text, long long low,
                 long long high) {
  const std::optional<long long> value = WholeNumber(text);
  if (!value || *value < low || *value > high)
    throw UsageError(option + " needs a whole number from " + std::to_string(low) + " to " +
                     std::to_string(high) + ", not \"" + text + "\"");
  return static_cast<int32_t>(*value);
}

// One side of --size: 1..16384, or -1 / -2 when `fromShape` allows them.
int ParseSide(const std::string &option, const std::string &text, bool fromShape) {
  if (fromShape && (text == "-1" || text == "-2")) return std::stoi(text);
  return ParseInt(option, text, 1, kMaxY4mSide);
}

SizeRequest ParseSize(const std::string &option, const std::string &text, bool fromShape) {
  const size_t x = text.find('x');
  if (x == std::string::npos) throw UsageError(option + " needs WxH, not \"" + text + "\"");
  const SizeRequest size{ParseSide(option, text.substr(0, x), fromShape),
                         ParseSide(option, text.substr(x + 1), fromShape)};
  if (size.width < 0 && size.height < 0)
    throw UsageError(option + " computes at most one side from the other, not \"" + text + "\"");
  return size;
}

ChromaFormat ParsePixelFormat(const std::string &text) {
  const std::optional<ChromaFormat> format = ChromaFormatNamed(text);
  if (!format)
    throw UsageError("--pix-fmt takes yuv444p, yuv422p or yuv420p, not \"" + text + "\"");
  return *format;
}

void CheckNameLengths(const ResizerCommand &command) {
  for (const auto *name : {&command.settings.lumaMode, &command.settings.chromaMode,
                           &command.settings.kernel}) {
    if (*name && (*name)->size() > kSettingsNameSize)
      throw UsageError("name \"" + **name + "\" is longer than 32 bytes");
  }
}

}  // namespace

std::optional<long long> WholeNumber(const std::string &text) {
  char *end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || errno != 0) return std::nullopt;
  return value;
}

std::optional<ChromaFormat> ChromaFormatNamed(const std::string &name) {
  if (name == "yuv444p") return ChromaFormat::C444;
  if (name == "yuv422p") return ChromaFormat::C422;
  if (name == "yuv420p") return ChromaFormat::C420;
  return std::nullopt;
}

ResizerCommand ParseCommandLine(const std::vector<std::string> &args) {
  ResizerCommand command;
  bool hasInput = false, neverOverwrite = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string &arg = args[i];
    auto value = [&]() -> const std::string & {
      if (i + 1 >= args.size()) throw UsageError(arg + " needs a value");
      return args[++i];
    };
    if (arg == "--auf") command.aufPath = value();
    else if (arg == "--yuy2") command.yuy2 = true;
    else if (arg == "--threads") command.threads = ParseInt(arg, value(), 1, 256);
    else if (arg == "--max") {
      const SizeRequest max = ParseSize(arg, value(), false);
      command.maxWidth = max.width;
      command.maxHeight = max.height;
    } else if (arg == "--size") command.size = ParseSize(arg, value(), true);
    else if (arg == "--pix-fmt") command.outputChroma = ParsePixelFormat(value());
    else if (arg == "--luma") command.settings.lumaMode = value();
    else if (arg == "--chroma") command.settings.chromaMode = value();
    else if (arg == "--luma-param") command.lumaParam = value();
    else if (arg == "--chroma-param") command.chromaParam = value();
    else if (arg == "--kernel") command.settings.kernel = value();
    else if (arg == "--frames") command.frames = ParseInt(arg, value(), 1, INT32_MAX);
    else if (arg == "--save") command.save = true;
    else if (arg == "--window") command.window = true;
    else if (arg == "--remember") command.remember = true;
    else if (arg == "--quiet") command.quiet = true;
    else if (arg == "-o") command.outputPath = value();
    else if (arg == "-y") command.overwrite = true;
    else if (arg == "-n") neverOverwrite = true;
    else if (arg == "--help" || arg == "-h") command.help = true;
    else if (arg == "--version") command.version = true;
    else if (arg.size() > 1 && arg[0] == '-') throw UsageError("unknown option " + arg);
    else if (hasInput) throw UsageError("more than one input: " + arg);
    else {
      command.inputPath = arg;
      hasInput = true;
    }
  }
  if (command.overwrite && neverOverwrite)
    throw UsageError("-y allows overwriting the output and -n forbids it; give one of them");
  CheckNameLengths(command);
  return command;
}

}  // namespace quorlin_resizer
