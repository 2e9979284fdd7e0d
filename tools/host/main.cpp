// quorlin_host: runs a filter plug-in on Y4M video (or the built-in clip) the way the editor
// runs it, and writes the result as Y4M. Reports go to standard error, so that standard output
// can carry the video into a pipeline.
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iostream>
#include <memory>

#include "ColorConversion.h"
#include "DebugOutput.h"
#include "HostCommandLine.h"
#include "HostSession.h"
#include "OfferedNames.h"
#include "PreviewWindow.h"
#include "SettingsRecord.h"
#include "TestClip.h"
#include "Y4mReader.h"
#include "Y4mWriter.h"

namespace quorlin_host {
namespace {

// The built-in clip, and the editor's usual maximum image size.
constexpr int kClipWidth = 1920, kClipHeight = 1080, kClipFrames = 48;
constexpr int kDefaultMaxWidth = 2304, kDefaultMaxHeight = 1440;

std::string ProgramDirectory() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string directory(path, length);
  return directory.substr(0, directory.find_last_of("\\/") + 1);
}

bool FileExists(const std::string &path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Quorlin.auf beside the program, else in the dist folder of the build tree the program
// was built in (build/tools/host/quorlin_host.exe -> build/dist/Quorlin.auf).
std::string DefaultAufPath() {
  const std::string directory = ProgramDirectory();
  for (const char *candidate : {"Quorlin.auf", "..\\..\\dist\\Quorlin.auf"}) {
    if (FileExists(directory + candidate)) return directory + candidate;
  }
  throw std::runtime_error("no Quorlin.auf beside the program or in the build's dist folder; "
                           "give --auf PATH");
}

// Where frames come from: a Y4M stream or the built-in clip.
struct FrameSource {
  Y4mHeader header;
  int knownFrames = -1;  // -1: until the stream ends
  std::function<bool(Y4mFrame &)> next;
};

FrameSource OpenSource(const HostCommand &command, std::unique_ptr<std::istream> &file,
                       std::unique_ptr<Y4mReader> &reader, std::unique_ptr<TestClip> &clip) {
  FrameSource source;
  if (command.inputPath.empty()) {
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
  std::istream *in = &std::cin;
  if (command.inputPath == "-") {
    _setmode(_fileno(stdin), _O_BINARY);
  } else {
    file = std::make_unique<std::ifstream>(command.inputPath, std::ios::binary);
    if (!*file) throw std::runtime_error("cannot open " + command.inputPath);
    in = file.get();
  }
  reader = std::make_unique<Y4mReader>(*in);
  source.header = reader->Header();
  source.next = [&reader](Y4mFrame &frame) { return reader->ReadFrame(frame); };
  return source;
}

HostSessionOptions SessionOptions(const HostCommand &command, const Y4mHeader &input) {
  HostSessionOptions options;
  options.aufPath = command.aufPath.empty() ? DefaultAufPath() : command.aufPath;
  options.yuy2 = command.yuy2;
  options.threads = command.threads;
  options.showWindow = command.window;
  if (command.maxWidth > 0) {
    options.maxWidth = command.maxWidth;
    options.maxHeight = command.maxHeight;
  } else {
    options.maxWidth = std::max({kDefaultMaxWidth, input.width,
                                 command.settings.width.value_or(0)});
    options.maxHeight = std::max({kDefaultMaxHeight, input.height,
                                  command.settings.height.value_or(0)});
  }
  if (input.width > options.maxWidth || input.height > options.maxHeight)
    throw std::runtime_error("input " + std::to_string(input.width) + "x" +
                             std::to_string(input.height) + " is larger than the maximum " +
                             "image size; raise --max");
  return options;
}

// Refuses method and kernel names that the plug-in's library folder does not offer.
void CheckCommandNames(const HostCommand &command, const std::string &aufPath) {
  const std::string directory = PluginDirectoryOf(aufPath);
  const OfferedNames offered = FindOfferedNames(directory, command.yuy2);
  if (offered.methods.empty() || offered.kernels.empty())
    std::cerr << "note: " << directory << " offers no window functions or no kernels; the "
              << "plug-in will pass frames through unchanged and names are not checked\n";
  CheckOfferedNames(command.settings, offered);
}

// Hands the command line's settings to the plug-in as a project load, and checks that the
// target size fits the host's images (the plug-in writes its result into them).
void ApplyCommandSettings(HostSession &session, const HostCommand &command) {
  if (command.settings.Any()) session.LoadProject(ChangeSettings(session.ExData(), command.settings));
  const std::vector<uint8_t> record = session.ExData();
  if (record.size() != kSettingsRecordSize) return;
  const HostSessionOptions &options = session.Options();
  if (SettingsWidth(record) > options.maxWidth || SettingsHeight(record) > options.maxHeight)
    throw std::runtime_error("target size is larger than the maximum image size; raise --max");
  if (command.yuy2 && SettingsWidth(record) % 2 != 0)
    throw std::runtime_error("YUY2 mode needs an even target width");
  std::cerr << "settings: " << SettingsWidth(record) << "x" << SettingsHeight(record)
            << " luma " << SettingsLumaMode(record) << ", chroma "
            << SettingsChromaMode(record) << ", kernel \"" << SettingsKernel(record) << "\"\n";
}

// Converts frames to and from the session's format, reusing its buffers.
class FrameConverter {
 public:
  explicit FrameConverter(bool yuy2) : yuy2_(yuy2) {}

  FrameInput ToHost(const Y4mFrame &frame, int index, int count) {
    FrameInput input;
    input.width = frame.width;
    input.height = frame.height;
    input.frame = index;
    input.frameCount = count;
    if (yuy2_) {
      Y4mToYuy2(frame, packed_);
      input.pixels = packed_.data();
      input.strideBytes = frame.width * 2;
    } else {
      Y4mToYc48(frame, pixels_);
      input.pixels = pixels_.data();
      input.strideBytes = frame.width * static_cast<ptrdiff_t>(sizeof(PIXEL_YC));
    }
    return input;
  }

  const Y4mFrame &FromHost(const FrameView &view) {
    if (yuy2_)
      Yuy2ToY4m(view.pixels, view.width, view.height, view.strideBytes, output_);
    else
      Yc48ToY4m(view.pixels, view.width, view.height, view.strideBytes, output_);
    return output_;
  }

 private:
  bool yuy2_;
  std::vector<PIXEL_YC> pixels_;
  std::vector<uint8_t> packed_;
  Y4mFrame output_;
};

int Run(const HostCommand &command) {
  std::unique_ptr<std::istream> inputFile;
  std::unique_ptr<Y4mReader> reader;
  std::unique_ptr<TestClip> clip;
  FrameSource source = OpenSource(command, inputFile, reader, clip);
  if (command.yuy2 && source.header.width % 2 != 0)
    throw std::runtime_error("YUY2 mode needs an even input width");
  int frameLimit = source.knownFrames;
  if (command.frames > 0)
    frameLimit = frameLimit < 0 ? command.frames : std::min(frameLimit, command.frames);

  const HostSessionOptions options = SessionOptions(command, source.header);
  CheckCommandNames(command, options.aufPath);
  HostSession session(options);
  ApplyCommandSettings(session, command);
  FrameConverter converter(command.yuy2);
  Y4mFrame frame;
  if (command.window) {
    if (!source.next(frame)) throw std::runtime_error("the input has no frame to show");
    return RunPreview(session, converter.ToHost(frame, 0, 1));
  }

  std::unique_ptr<std::ofstream> outputFile;
  std::ostream *out = nullptr;
  if (command.outputPath == "-") {
    _setmode(_fileno(stdout), _O_BINARY);
    out = &std::cout;
  } else if (!command.outputPath.empty()) {
    outputFile = std::make_unique<std::ofstream>(command.outputPath, std::ios::binary);
    if (!*outputFile) throw std::runtime_error("cannot create " + command.outputPath);
    out = outputFile.get();
  }
  std::unique_ptr<Y4mWriter> writer;
  Y4mHeader outputHeader = source.header;
  outputHeader.chroma = command.yuy2 ? ChromaFormat::C422 : ChromaFormat::C444;

  const bool progress = _isatty(_fileno(stderr)) != 0;
  if (command.save) session.SaveStart(0, std::max(frameLimit, 1) - 1);
  const auto started = std::chrono::steady_clock::now();
  int frames = 0;
  while ((frameLimit < 0 || frames < frameLimit) && source.next(frame)) {
    if (!session.ProcessFrame(converter.ToHost(frame, frames, std::max(frameLimit, 0))))
      throw std::runtime_error("func_proc failed at frame " + std::to_string(frames));
    const FrameView view = session.Output();
    if (out) {
      if (!writer) {
        outputHeader.width = view.width;
        outputHeader.height = view.height;
        writer = std::make_unique<Y4mWriter>(*out, outputHeader);
      }
      if (view.width != outputHeader.width || view.height != outputHeader.height)
        throw std::runtime_error("output size changed at frame " + std::to_string(frames));
      writer->WriteFrame(converter.FromHost(view));
    }
    ++frames;
    session.PumpMessages();
    if (progress) std::cerr << "\rframe " << frames << std::flush;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  if (command.save) session.SaveEnd();
  if (out) out->flush();
  if (out && !*out) throw std::runtime_error("cannot write the output");

  if (progress) std::cerr << "\n";
  const FrameView view = session.Output();
  std::fprintf(stderr, "%d frames %dx%d -> %dx%d in %.3f s (%.2f frames/s, conversion and I/O "
               "included)\n", frames, source.header.width, source.header.height, view.width,
               view.height, seconds, seconds > 0 ? frames / seconds : 0.0);
  if (command.save)
    std::fprintf(stderr, "plug-in frame time (shortest, average): %s\n",
                 session.WindowTitle().c_str());
  return 0;
}

}  // namespace
}  // namespace quorlin_host

int main(int argc, char **argv) {
  using namespace quorlin_host;
  // What the plug-in reports, such as a library it skipped, appears among the host's reports.
  DebugOutputCapture debugOutput(stderr);
  try {
    const HostCommand command = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (command.help) {
      std::fputs(kUsageText, stdout);
      return 0;
    }
    return Run(command);
  } catch (const UsageError &e) {
    std::fprintf(stderr, "quorlin_host: %s\n%s", e.what(), kUsageText);
    return 2;
  } catch (const std::exception &e) {
    if (_isatty(_fileno(stderr))) std::fputs("\n", stderr);  // end the progress line
    std::fprintf(stderr, "quorlin_host: %s\n", e.what());
    return 1;
  }
}
