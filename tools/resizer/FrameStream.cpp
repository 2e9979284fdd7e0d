#include "resizer/FrameStream.h"

#include <chrono>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "frames/FrameConversion.h"
#include "resizer/FrameQueue.h"

namespace quorlin_resizer {

using namespace quorlin_harness;

namespace {

// Y4M frames between the reader and the converter: one being read, one waiting, one converted.
constexpr size_t kFramesInFlight = 3;

using FramePointer = std::unique_ptr<Y4mFrame>;

// Frames go round between two queues: empty ones to the reader, full ones to the converter.
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

// A frame in one of the host's images.
struct FilledImage {
  uint8_t *pixels = nullptr;
  int width = 0, height = 0;
};

// Host images go round: the converter fills an empty one, the plug-in filters it, the writer
// takes the result out of it and hands it back empty.
struct ImageLoop {
  FrameQueue<uint8_t *> empty;
  FrameQueue<FilledImage> filled, results;

  explicit ImageLoop(const std::vector<uint8_t *> &images)
      : empty(images.size()), filled(images.size()), results(images.size()) {
    for (uint8_t *image : images) empty.Push(image);
  }
  void Close() {
    empty.Close();
    filled.Close();
    results.Close();
  }
};

// What each stage holds while it works on a frame when the plug-in is to filter alone: then no
// stage reads, converts or writes while the plug-in filters, and its worker threads have the
// processors to themselves. Otherwise holding it does nothing.
class StageGate {
 public:
  explicit StageGate(bool closes) : closes_(closes) {}
  std::unique_lock<std::mutex> Hold() {
    return closes_ ? std::unique_lock<std::mutex>(mutex_) : std::unique_lock<std::mutex>();
  }

 private:
  const bool closes_;
  std::mutex mutex_;
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

// Runs `stage`, keeping its failure, then `close` in any case, so the stages beside it stop.
template <class Stage, class Close>
void RunStage(FirstFailure &failure, const Stage &stage, const Close &close) {
  try {
    stage();
  } catch (...) {
    failure.Keep(std::current_exception());
  }
  close();
}

// Fills a frame through `fetch` while holding the gate; false at the end.
bool Fetch(const FrameFetcher &fetch, StageGate &gate, Y4mFrame &frame) {
  const auto held = gate.Hold();
  return fetch(frame);
}

void ReadFrames(const StreamRun &run, StageGate &gate, FrameLoop &frames) {
  FramePointer frame;
  for (int read = 0; run.frameLimit < 0 || read < run.frameLimit; ++read) {
    if (!frames.empty.Pop(frame) || !Fetch(run.fetch, gate, *frame) ||
        !frames.full.Push(std::move(frame)))
      return;
  }
}

// Converts the frames read into the host's format, ahead of the plug-in.
void ConvertFrames(FrameIntoImage &into, ptrdiff_t stride, StageGate &gate, FrameLoop &frames,
                   ImageLoop &images) {
  FramePointer frame;
  uint8_t *image = nullptr;
  while (frames.full.Pop(frame) && images.empty.Pop(image)) {
    {
      const auto held = gate.Hold();
      into.Convert(*frame, image, stride);
    }
    const FilledImage filled{image, frame->width, frame->height};
    if (!frames.empty.Push(std::move(frame)) || !images.filled.Push(filled)) return;
  }
}

// Takes each result out of its host image, hands the image back and writes the frame.
void WriteFrames(Y4mWriter &writer, bool yuy2, ptrdiff_t stride, StageGate &gate,
                 ImageLoop &images) {
  FrameFromImage from(yuy2, writer.Header().chroma);
  Y4mFrame frame;
  FilledImage result;
  while (images.results.Pop(result)) {
    {
      const auto held = gate.Hold();
      from.Convert(result.pixels, stride, result.width, result.height, frame);
    }
    // Refused once the filtering side has finished; the results queued are written all the same.
    images.empty.Push(result.pixels);
    writer.WriteFrame(frame);  // not held: the output may wait for its reader
  }
}

void CheckResultSize(const FrameView &view, const Y4mWriter &writer, int index) {
  const Y4mHeader &header = writer.Header();
  if (view.width != header.width || view.height != header.height)
    throw std::runtime_error("the plug-in returned frame " + std::to_string(index) + " as " +
                             std::to_string(view.width) + "x" + std::to_string(view.height) +
                             ", not " + std::to_string(header.width) + "x" +
                             std::to_string(header.height));
}

class FilterLoop {
 public:
  FilterLoop(HostSession &session, const StreamRun &run, StageGate &gate, ImageLoop &images,
             uint8_t *temp)
      : session_(session), run_(run), gate_(gate), images_(images), temp_(temp) {}

  // Ends the progress line before any failure is reported.
  ~FilterLoop() {
    if (run_.progress) run_.progress->Finish(done_, Seconds());
  }

  int Run() {
    FilledImage image;
    while (images_.filled.Pop(image)) {
      if (!Filter(image)) break;
      ++done_;
      session_.PumpMessages();
      if (run_.progress) run_.progress->Frame(done_, Seconds());
    }
    return done_;
  }

 private:
  double Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
  }

  // Filters one frame and passes its result on; false when the next stage has stopped.
  bool Filter(const FilledImage &image) {
    FrameInput shape;
    shape.width = image.width;
    shape.height = image.height;
    shape.frame = done_;
    shape.frameCount = run_.frameCount;
    if (!ProcessImage(shape, image.pixels))
      throw std::runtime_error("func_proc failed at frame " + std::to_string(done_));
    // The result is in one of the two images; the other is the next frame's scratch image.
    const FrameView view = session_.Output();
    uint8_t *const result = const_cast<uint8_t *>(view.pixels);
    temp_ = result == image.pixels ? temp_ : image.pixels;
    if (!run_.writer) return images_.empty.Push(result);
    CheckResultSize(view, *run_.writer, done_);
    return images_.results.Push(FilledImage{result, view.width, view.height});
  }

  bool ProcessImage(const FrameInput &shape, uint8_t *pixels) {
    const auto held = gate_.Hold();
    return session_.ProcessImage(shape, pixels, temp_);
  }

  HostSession &session_;
  const StreamRun &run_;
  StageGate &gate_;
  ImageLoop &images_;
  uint8_t *temp_;
  int done_ = 0;
  const std::chrono::steady_clock::time_point started_ = std::chrono::steady_clock::now();
};

}  // namespace

int RunFrameStream(HostSession &session, const StreamRun &run) {
  std::vector<uint8_t *> circulating = session.Images();
  if (circulating.size() < static_cast<size_t>(2 + kStreamExtraImages))
    throw std::logic_error("a stream needs a session with " +
                           std::to_string(kStreamExtraImages) + " extra images");
  uint8_t *const temp = circulating.back();
  circulating.pop_back();
  const bool yuy2 = session.Options().yuy2;
  const ptrdiff_t stride = session.ImageStrideBytes();
  FrameLoop frames;
  ImageLoop images(circulating);
  FirstFailure failure;
  StageGate gate(run.filterAlone);
  std::thread reader([&] {
    RunStage(failure, [&] { ReadFrames(run, gate, frames); }, [&] { frames.full.Close(); });
  });
  std::thread converter([&] {
    FrameIntoImage into(yuy2, run.inputSiting);
    RunStage(failure, [&] { ConvertFrames(into, stride, gate, frames, images); }, [&] {
      frames.Close();  // the reader stops at its next frame
      images.filled.Close();
    });
  });
  std::thread writer;
  if (run.writer) {
    writer = std::thread([&] {
      RunStage(failure, [&] { WriteFrames(*run.writer, yuy2, stride, gate, images); },
               [&] { images.Close(); });  // the filtering side stops at its next frame
    });
  }
  int done = 0;
  RunStage(failure, [&] { done = FilterLoop(session, run, gate, images, temp).Run(); }, [&] {
    images.empty.Close();  // the converter, and through it the reader, stop
    images.filled.Close();
    images.results.Close();  // the writer writes what is queued, then stops
  });
  converter.join();
  reader.join();
  if (writer.joinable()) writer.join();
  failure.ThrowIfAny();
  return done;
}

}  // namespace quorlin_resizer
