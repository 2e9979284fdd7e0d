#include "FrameStream.h"

#include <chrono>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

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

void Filter(HostSession &session, const Y4mFrame &frame, int index, int frameLimit) {
  FrameInput shape;
  shape.width = frame.width;
  shape.height = frame.height;
  shape.frame = index;
  shape.frameCount = std::max(frameLimit, 0);
  const bool yuy2 = session.Options().yuy2;
  const bool done = session.ProcessFrameInPlace(shape, [&](uint8_t *pixels, ptrdiff_t stride) {
    ForEachBand(session, frame.height, [&](int first, int end) {
      if (yuy2)
        Y4mToYuy2Rows(frame, pixels, stride, first, end);
      else
        Y4mToYc48Rows(frame, pixels, stride, first, end);
    });
  });
  if (!done) throw std::runtime_error("func_proc failed at frame " + std::to_string(index));
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

int FilterFrames(HostSession &session, const StreamRun &run, FrameLoop &input,
                 FrameLoop &output) {
  const auto started = std::chrono::steady_clock::now();
  auto seconds = [&] {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  };
  int done = 0;
  FramePointer frame, result;
  // The progress line ends before any failure is reported.
  struct FinishLine {
    ProgressReporter *progress;
    const int &done;
    std::function<double()> seconds;
    ~FinishLine() {
      if (progress) progress->Finish(done, seconds());
    }
  } finishLine{run.progress, done, seconds};
  while (input.full.Pop(frame)) {
    Filter(session, *frame, done, run.frameLimit);
    if (!input.empty.Push(std::move(frame))) break;
    if (run.writer) {
      if (!output.empty.Pop(result)) break;  // the writer has failed
      TakeOutput(session, *run.writer, done, *result);
      if (!output.full.Push(std::move(result))) break;
    }
    ++done;
    session.PumpMessages();
    if (run.progress) run.progress->Frame(done, seconds());
  }
  return done;
}

}  // namespace

int RunFrameStream(HostSession &session, const StreamRun &run) {
  FrameLoop input, output;
  FirstFailure failure;
  std::thread reader(ReadFrames, std::cref(run), std::ref(input), std::ref(failure));
  std::thread writer;
  if (run.writer)
    writer = std::thread(WriteFrames, std::ref(*run.writer), std::ref(output), std::ref(failure));
  int done = 0;
  try {
    done = FilterFrames(session, run, input, output);
  } catch (...) {
    failure.Keep(std::current_exception());
  }
  input.Close();  // a reader still waiting for room stops
  output.full.Close();  // the writer writes what is queued, then stops
  reader.join();
  if (writer.joinable()) writer.join();
  failure.ThrowIfAny();
  return done;
}

}  // namespace quorlin_host
