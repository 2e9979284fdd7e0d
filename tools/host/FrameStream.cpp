#include "FrameStream.h"

#include <chrono>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "ColorConversion.h"
#include "FrameQueue.h"

namespace quorlin_host {

namespace {

// Frames in flight on each side: one being worked on, one waiting, one being read or written.
constexpr size_t kFramesInFlight = 3;

using FramePointer = std::unique_ptr<Y4mFrame>;

// Frames go round between two queues: empty ones to the producing side, full ones onwards.
struct FrameLoop {
  FrameQueue<FramePointer> empty{kFramesInFlight}, full{kFramesInFlight};

  FrameLoop() {
    for (size_t i = 0; i < kFramesInFlight; ++i) empty.Push(std::make_unique<Y4mFrame>());
  }
  void Close() {
    empty.Close();
    full.Close();
  }
};

// The first failure of any thread, kept to be thrown once all have stopped.
class FirstFailure {
 public:
  void Keep(std::exception_ptr failure) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!failure_) failure_ = failure;
  }
  void ThrowIfAny() {
    if (failure_) std::rethrow_exception(failure_);
  }

 private:
  std::mutex mutex_;
  std::exception_ptr failure_;
};

// Rows of a frame split into one band per worker.
void ForEachBand(HostSession &session, int rows, const std::function<void(int, int)> &convert) {
  session.RunOnWorkers([&](int index, int count) {
    convert(static_cast<int>(static_cast<long long>(rows) * index / count),
            static_cast<int>(static_cast<long long>(rows) * (index + 1) / count));
  });
}

void ReadFrames(const StreamRun &run, FrameLoop &input, FirstFailure &failure) {
  try {
    FramePointer frame;
    for (int read = 0; run.frameLimit < 0 || read < run.frameLimit; ++read) {
      if (!input.empty.Pop(frame) || !run.fetch(*frame) || !input.full.Push(std::move(frame)))
        break;
    }
  } catch (...) {
    failure.Keep(std::current_exception());
  }
  input.full.Close();
}

void WriteFrames(Y4mWriter &writer, FrameLoop &output, FirstFailure &failure) {
  try {
    FramePointer frame;
    while (output.full.Pop(frame)) {
      writer.WriteFrame(*frame);
      if (!output.empty.Push(std::move(frame))) break;
    }
  } catch (...) {
    failure.Keep(std::current_exception());
  }
  output.Close();  // the filtering side stops at its next frame
}

// A frame converted into one of the host's images, ready for func_proc.
struct FilledImage {
  uint8_t *pixels = nullptr;
  int width = 0, height = 0;
};

// Images go round between the converter, which fills them, and the filtering side.
struct ImageLoop {
  FrameQueue<uint8_t *> empty;
  FrameQueue<FilledImage> full;

  explicit ImageLoop(const std::vector<uint8_t *> &images)
      : empty(images.size()), full(images.size()) {
    for (uint8_t *image : images) empty.Push(image);
  }
  void Close() {
    empty.Close();
    full.Close();
  }
};

void ConvertFrame(const Y4mFrame &frame, bool yuy2, uint8_t *pixels, ptrdiff_t stride) {
  if (yuy2)
    Y4mToYuy2Rows(frame, pixels, stride, 0, frame.height);
  else
    Y4mToYc48Rows(frame, pixels, stride, 0, frame.height);
}

// Converts the frames read into the host's format, one frame ahead of the plug-in.
void ConvertFrames(bool yuy2, ptrdiff_t stride, FrameLoop &input, ImageLoop &images,
                   FirstFailure &failure) {
  try {
    FramePointer frame;
    uint8_t *image = nullptr;
    while (input.full.Pop(frame) && images.empty.Pop(image)) {
      ConvertFrame(*frame, yuy2, image, stride);
      const FilledImage filled{image, frame->width, frame->height};
      if (!input.empty.Push(std::move(frame)) || !images.full.Push(filled)) break;
    }
  } catch (...) {
    failure.Keep(std::current_exception());
  }
  input.Close();  // the reader stops at its next frame
  images.full.Close();
}

void Filter(HostSession &session, const FilledImage &image, uint8_t *temp, int index,
            int frameLimit) {
  FrameInput shape;
  shape.width = image.width;
  shape.height = image.height;
  shape.frame = index;
  shape.frameCount = std::max(frameLimit, 0);
  if (!session.ProcessImage(shape, image.pixels, temp))
    throw std::runtime_error("func_proc failed at frame " + std::to_string(index));
}

void TakeOutput(HostSession &session, const Y4mWriter &writer, int index, Y4mFrame &frame) {
  const FrameView view = session.Output();
  const Y4mHeader &header = writer.Header();
  if (view.width != header.width || view.height != header.height)
    throw std::runtime_error("the plug-in returned frame " + std::to_string(index) + " as " +
                             std::to_string(view.width) + "x" + std::to_string(view.height) +
                             ", not " + std::to_string(header.width) + "x" +
                             std::to_string(header.height));
  frame.Resize(view.width, view.height, header.chroma);
  const bool yuy2 = session.Options().yuy2;
  ForEachBand(session, view.height, [&](int first, int end) {
    if (yuy2)
      Yuy2ToY4mRows(view.pixels, view.strideBytes, frame, first, end);
    else
      Yc48ToY4mRows(view.pixels, view.strideBytes, frame, first, end);
  });
}

int FilterFrames(HostSession &session, const StreamRun &run, ImageLoop &images, uint8_t *temp,
                 FrameLoop &output) {
  const auto started = std::chrono::steady_clock::now();
  auto seconds = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  };
  int done = 0;
  // The progress line ends before any failure is reported.
  struct FinishLine {
    ProgressReporter *progress;
    const int &done;
    std::function<double()> seconds;
    ~FinishLine() {
      if (progress) progress->Finish(done, seconds());
    }
  } finishLine{run.progress, done, seconds};
  FilledImage image;
  FramePointer result;
  while (images.full.Pop(image)) {
    Filter(session, image, temp, done, run.frameLimit);
    // The result is in one of the two images; the other is the next frame's scratch image.
    uint8_t *const outputImage = const_cast<uint8_t *>(session.Output().pixels);
    temp = outputImage == image.pixels ? temp : image.pixels;
    if (run.writer) {
      if (!output.empty.Pop(result)) break;  // the writer has failed
      TakeOutput(session, *run.writer, done, *result);
      if (!output.full.Push(std::move(result))) break;
    }
    if (!images.empty.Push(outputImage)) break;
    ++done;
    session.PumpMessages();
    if (run.progress) run.progress->Frame(done, seconds());
  }
  return done;
}

}  // namespace

int RunFrameStream(HostSession &session, const StreamRun &run) {
  std::vector<uint8_t *> circulating = session.Images();
  if (circulating.size() < 3)
    throw std::logic_error("a stream needs a session with an extra image");
  uint8_t *const temp = circulating.back();
  circulating.pop_back();
  FrameLoop input, output;
  ImageLoop images(circulating);
  FirstFailure failure;
  std::thread reader(ReadFrames, std::cref(run), std::ref(input), std::ref(failure));
  std::thread converter(ConvertFrames, session.Options().yuy2, session.ImageStrideBytes(),
                        std::ref(input), std::ref(images), std::ref(failure));
  std::thread writer;
  if (run.writer)
    writer = std::thread(WriteFrames, std::ref(*run.writer), std::ref(output), std::ref(failure));
  int done = 0;
  try {
    done = FilterFrames(session, run, images, temp, output);
  } catch (...) {
    failure.Keep(std::current_exception());
  }
  images.Close();  // the converter, and through it the reader, stop
  output.full.Close();  // the writer writes what is queued, then stops
  converter.join();
  reader.join();
  if (writer.joinable()) writer.join();
  failure.ThrowIfAny();
  return done;
}

}  // namespace quorlin_host
