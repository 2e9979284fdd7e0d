// quorlin_resizer: runs a filter plug-in on Y4M video (or the built-in clip) the way the editor
// runs it, and writes the result as Y4M. Reports go to standard error, so that standard output
// can carry the video into a pipeline.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <memory>

#include "frames/ColorConversion.h"
#include "harness/DebugOutput.h"
#include "video-io/DescriptorStream.h"
#include "video-io/FileHandles.h"
#include "frames/FrameConversion.h"
#include "resizer/FrameStream.h"
#include "resizer/CommandLine.h"
#include "harness/HostSession.h"
#include "resizer/Installation.h"
#include "resizer/Interruption.h"
#include "video-io/OutputFile.h"
#include "resizer/OutputGeometry.h"
#include "preview/PreviewWindow.h"
#include "resizer/Progress.h"
#include "resizer/RunSettings.h"
#include "resizer/SettingsFileGuard.h"
#include "resizer/TestClip.h"
#include "video-io/Y4mReader.h"
#include "video-io/WindowsText.h"
#include "video-io/Y4mWriter.h"
#include "host/ModulePath.h"
#include "host/SettingsFile.h"

namespace quorlin_resizer {
namespace {

using namespace quorlin_harness;
using quorlin_preview::RunPreview;

// The built-in clip, and the editor's usual maximum image size.
constexpr int kClipWidth = 1920, kClipHeight = 1080, kClipFrames = 48;
constexpr int kDefaultMaxWidth = 2304, kDefaultMaxHeight = 1440;

bool FileExists(const std::string &path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Quorlin.auf beside the program, else in the dist folder of the build tree the program
// was built in (build/tools/resizer/quorlin_resizer.exe -> build/dist/Quorlin.auf).
std::string DefaultAufPath() {
  // The program's own path, however long: this code is linked into the program.
  const std::string directory = DirectoryOf(OwnModulePath());
  for (const char *candidate : {"Quorlin.auf", "..\\..\\dist\\Quorlin.auf"}) {
    if (FileExists(directory + candidate)) return directory + candidate;
  }
  throw std::runtime_error("no Quorlin.auf beside the program or in the build's dist folder; "
                           "give --auf PATH");
}

// Where frames come from: a Y4M stream or the built-in clip.
struct FrameSource {
  Y4mHeader header;
  int knownFrames = -1;  // -1: unknown, until the stream ends
  FrameFetcher next;
  const Y4mReader *reader = nullptr;  // null for the built-in clip
};

// Says so when standard input carries something that a run without an input leaves unread.
void WarnOfUnreadStandardInput() {
  const DWORD type = GetFileType(GetStdHandle(STD_INPUT_HANDLE));
  if (type == FILE_TYPE_PIPE || type == FILE_TYPE_DISK)
    std::cerr << "warning: standard input is not read: without an input the built-in test "
                 "pattern is resized; name - as the input to resize standard input\n";
}

FrameSource OpenSource(const ResizerCommand &command, std::unique_ptr<std::istream> &file,
                       std::unique_ptr<Y4mReader> &reader, std::unique_ptr<TestClip> &clip) {
  FrameSource source;
  if (command.inputPath.empty()) {
    WarnOfUnreadStandardInput();
    clip = std::make_unique<TestClip>(kClipWidth, kClipHeight, kClipFrames);
    source.header = clip->Header();
    source.knownFrames = clip->FrameCount();
    source.next = [&clip, index = 0](Y4mFrame &frame) mutable {
      if (index == clip->FrameCount()) return false;
      clip->Render(index++, frame);
      return true;
    };
    return source;
  }
  long long fileBytes = -1;
  if (command.inputPath == "-") {
    file = std::make_unique<DescriptorInput>(_fileno(stdin));
  } else {
    InputFile input = OpenInputFile(command.inputPath);
    file = std::move(input.stream);
    fileBytes = input.bytes;
  }
  reader = std::make_unique<Y4mReader>(*file);
  source.header = reader->Header();
  if (fileBytes >= 0)
    source.knownFrames =
        EstimateY4mFrames(fileBytes, file->tellg(), Y4mFrameBytes(source.header));
  source.next = [&reader](Y4mFrame &frame) { return reader->ReadFrame(frame); };
  source.reader = reader.get();
  return source;
}

std::string FullPath(const std::string &path) {
  char full[MAX_PATH];
  const DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return length > 0 && length < MAX_PATH ? std::string(full, length) : path;
}

// The plug-in's full path in the system's code page, which the editor's interface speaks.
std::string AufPathOf(const ResizerCommand &command) {
  if (command.aufPath.empty()) return FullPath(DefaultAufPath());
  if (KindOfPath(command.aufPath) != PathKind::File)
    throw std::runtime_error("cannot load --auf " + command.aufPath + ": there is no such file");
  return FullPath(AnsiFromUtf8(command.aufPath));
}

HostSessionOptions SessionOptions(const ResizerCommand &command, const std::string &aufPath,
                                  const Y4mHeader &input, const RunSettings &settings) {
  HostSessionOptions options;
  options.aufPath = aufPath;
  options.yuy2 = command.yuy2;
  options.threads = command.threads;
  options.showWindow = command.window;
  options.extraImages = command.window ? 0 : kStreamExtraImages;
  if (command.maxWidth > 0) {
    options.maxWidth = command.maxWidth;
    options.maxHeight = command.maxHeight;
  } else {
    options.maxWidth = std::max({kDefaultMaxWidth, input.width, settings.width});
    options.maxHeight = std::max({kDefaultMaxHeight, input.height, settings.height});
  }
  options.filterWindow = command.window ? FilterWindowUse::Panel
                         : command.save ? FilterWindowUse::TitleOnly
                                        : FilterWindowUse::None;
  if (input.width > options.maxWidth || input.height > options.maxHeight)
    throw UsageError("input " + std::to_string(input.width) + "x" + std::to_string(input.height) +
                     " is larger than the maximum image size; raise --max");
  if (settings.width > options.maxWidth || settings.height > options.maxHeight)
    throw UsageError("target size " + std::to_string(settings.width) + "x" +
                     std::to_string(settings.height) +
                     " is larger than the maximum image size; raise --max");
  if (command.yuy2 && settings.width % 2 != 0)
    throw UsageError("YUY2 mode needs an even target width, not " +
                     std::to_string(settings.width) + ": give an even width, or --size -2x" +
                     std::to_string(settings.height) +
                     " for the even width that keeps the input's shape");
  return options;
}

// The settings to run, from the command line and the installation alone; warns of what the
// command line asks for that will not run.
RunSettings SettingsToRun(const ResizerCommand &command, const Installation &installation,
                          const Y4mHeader &input) {
  RunSettings settings = ResolveRunSettings(command, installation, input);
  for (const std::string &warning : settings.warnings) std::cerr << "warning: " << warning << "\n";
  return settings;
}

// Said once the plug-in has loaded, so that it never stands before a failure to load it.
void WarnOfPassThrough(const Installation &installation) {
  if (installation.PassesThrough())
    std::cerr << "warning: " << installation.pluginDirectory << " offers no window functions or "
              << "no kernels; the plug-in passes frames through unchanged\n";
}

void WarnOfInterlace(const Y4mHeader &input) {
  if (IsInterlaced(input))
    std::cerr << "warning: the input is marked interlaced (I" << input.interlace
              << "); its frames are resized as whole frames and written marked progressive\n";
}

int RunFrames(HostSession &session, const ResizerCommand &command, const FrameSource &source,
              OutputFile *output, const Y4mHeader &outputHeader) {
  std::unique_ptr<Y4mWriter> writer;
  if (output) writer = std::make_unique<Y4mWriter>(output->Stream(), outputHeader);

  int frameLimit = source.knownFrames;
  if (command.frames > 0)
    frameLimit = frameLimit < 0 ? command.frames : std::min(frameLimit, command.frames);
  std::unique_ptr<ProgressReporter> progress;
  if (!command.quiet)
    progress = std::make_unique<ProgressReporter>(stderr, _isatty(_fileno(stderr)) != 0,
                                                  frameLimit);
  // Ctrl-C stops the reading; the frames read by then are finished.
  bool interrupted = false;
  StreamRun run;
  run.fetch = [&source, &interrupted](Y4mFrame &frame) {
    interrupted = Interrupted();
    return !interrupted && source.next(frame);
  };
  run.inputSiting = source.header.siting;
  run.frameLimit = command.frames > 0 ? command.frames : -1;  // an estimate never cuts a file
  run.frameCount = std::max(frameLimit, 0);
  run.writer = writer.get();
  run.progress = progress.get();
  // The plug-in's frame timing counts its own threads alone: on a machine with few processors
  // the converter would take one from them.
  run.filterAlone = command.save;

  if (command.save) session.SaveStart(0, std::max(frameLimit, 1) - 1);
  const auto started = std::chrono::steady_clock::now();
  const int frames = RunFrameStream(session, run);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (command.save) session.SaveEnd();
  if (interrupted) {
    std::fprintf(stderr, "quorlin_resizer: interrupted, stopped at frame %d%s\n", frames,
                 output && !output->InPlace() ? "; the output file was not written" : "");
    return kInterruptedStatus;
  }
  if (output) output->Commit();
  if (source.reader && source.reader->CutFrame() > 0)
    std::fprintf(stderr, "warning: the input ends inside frame %d; the %d complete frames "
                 "before it were resized\n", source.reader->CutFrame(), frames);
  if (command.quiet) return 0;

  std::fprintf(stderr, "%d frames %dx%d -> %dx%d in %.3f s (%.2f frames/s, conversion and I/O "
               "included)\n", frames, source.header.width, source.header.height,
               outputHeader.width, outputHeader.height, seconds,
               seconds > 0 ? frames / seconds : 0.0);
  if (command.save)
    std::fprintf(stderr, "plug-in frame time (shortest, average): %s\n",
                 session.WindowTitle().c_str());
  if (!output)
    std::fputs("the frames were resized and discarded: give -o FILE or -o - to keep them\n",
               stderr);
  return 0;
}

// Shows the first frame in the window mode.
int RunWindow(HostSession &session, const FrameSource &source, bool yuy2) {
  Y4mFrame frame;
  if (!source.next(frame)) throw std::runtime_error("the input has no frame to show");
  FrameInput input;
  input.width = frame.width;
  input.height = frame.height;
  input.frameCount = 1;
  input.strideBytes = frame.width * static_cast<ptrdiff_t>(session.BytesPerPixel());
  std::vector<uint8_t> pixels(static_cast<size_t>(input.strideBytes) * frame.height);
  FrameIntoImage(yuy2, source.header.siting).Convert(frame, pixels.data(), input.strideBytes);
  input.pixels = pixels.data();
  return RunPreview(session, input);
}

// The output's chroma format: --pix-fmt, else the host's own (4:2:2 in YUY2 mode).
ChromaFormat OutputChroma(const ResizerCommand &command) {
  return command.outputChroma.value_or(command.yuy2 ? ChromaFormat::C422 : ChromaFormat::C444);
}

std::string MegaBytes(long long bytes) { return std::to_string((bytes + 999999) / 1000000); }

// A frame too large for this 32-bit program's memory ends the run with its size, not with the
// allocator's bare failure.
std::runtime_error OutOfMemory(const Y4mHeader &input, const HostSessionOptions &options) {
  const long long image =
      static_cast<long long>(options.maxWidth) * options.maxHeight * (options.yuy2 ? 2 : 6);
  return std::runtime_error(
      "not enough memory for frames of " + std::to_string(input.width) + "x" +
      std::to_string(input.height) + ": each Y4M frame takes " +
      MegaBytes(Y4mFrameBytes(input)) + " MB and each of the host's " +
      std::to_string(2 + options.extraImages) + " images of " + std::to_string(options.maxWidth) +
      "x" + std::to_string(options.maxHeight) + " " + MegaBytes(image) + " MB");
}

int Run(const ResizerCommand &command) {
  std::unique_ptr<std::istream> inputFile;
  std::unique_ptr<Y4mReader> reader;
  std::unique_ptr<TestClip> clip;
  const FrameSource source = OpenSource(command, inputFile, reader, clip);
  // The window mode ends when its window closes, or at once on Ctrl-C.
  if (!command.window) CatchInterruptions();
  if (command.yuy2 && source.header.width % 2 != 0)
    throw UsageError("YUY2 mode needs an even input width, not " +
                     std::to_string(source.header.width));

  const std::string aufPath = AufPathOf(command);
  const Installation installation = ReadInstallation(aufPath, command.yuy2);
  const RunSettings settings = SettingsToRun(command, installation, source.header);
  const HostSessionOptions options = SessionOptions(command, aufPath, source.header, settings);
  std::unique_ptr<OutputFile> output;
  if (!command.window && !command.outputPath.empty())
    output = std::make_unique<OutputFile>(command.outputPath, command.inputPath, command.overwrite);
  WarnOfInterlace(source.header);

  // The window mode is the editor's own way of working and keeps what the dialog changes.
  std::unique_ptr<SettingsFileGuard> keepSettingsFile;
  if (!command.remember && !command.window)
    keepSettingsFile = std::make_unique<SettingsFileGuard>(SettingsFileOf(aufPath).Path());
  try {
    HostSession session(options);
    session.LoadProject(SettingsRecordOf(settings));
    WarnOfPassThrough(installation);
    if (!command.quiet) std::cerr << "settings: " << DescribeRunSettings(settings) << "\n";
    if (command.window) return RunWindow(session, source, command.yuy2);
    const bool resized = !installation.PassesThrough();
    return RunFrames(session, command, source, output.get(),
                     OutputHeaderFor(source.header, resized ? settings.width : source.header.width,
                                     resized ? settings.height : source.header.height,
                                     OutputChroma(command)));
  } catch (const std::bad_alloc &) {
    throw OutOfMemory(source.header, options);
  }
}

void PrintHelp(const ResizerCommand &command) {
  std::fputs(kUsageText, stdout);
  try {
    const std::string aufPath = AufPathOf(command);
    std::printf("\nInstalled with %s (YC48 mode):\n%s", aufPath.c_str(),
                DescribeInstallation(ReadInstallation(aufPath, false)).c_str());
    std::printf("In YUY2 mode only the window functions are offered.\n");
  } catch (const std::exception &e) {
    std::printf("\nNo installation to list: %s\n", e.what());
  }
}

// A command line that cannot run: its reason and where the options are listed; status 2.
int ReportUsageError(const std::exception &e) {
  std::fprintf(stderr, "quorlin_resizer: %s\n(quorlin_resizer --help lists the options and what "
               "is installed)\n", e.what());
  return 2;
}

}  // namespace
}  // namespace quorlin_resizer

int main() {
  using namespace quorlin_resizer;
  // Lines end in LF, as on the system the video tools around this program run on.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  // What the plug-in reports, such as a library it skipped, appears among the host's reports.
  DebugOutputCapture debugOutput(stderr);
  try {
    const ResizerCommand command = ParseCommandLine(Utf8Arguments());
    if (command.version) {
      std::printf("quorlin_resizer %s\n", QUORLIN_VERSION);
      return 0;
    }
    if (command.help) {
      PrintHelp(command);
      return 0;
    }
    return Run(command);
  } catch (const UsageError &e) {
    return ReportUsageError(e);
  } catch (const OutputRefused &e) {
    return ReportUsageError(e);
  } catch (const std::exception &e) {
    std::fprintf(stderr, "quorlin_resizer: %s\n", e.what());
    return 1;
  }
}
