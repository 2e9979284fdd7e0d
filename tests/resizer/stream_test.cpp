// Runs of Y4M frames through a harness session on the fake plug-in: every frame comes back whole
// and in order, and a stream that ends or fails leaves a valid Y4M stream.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <sstream>
#include <utility>
#include <vector>

#include "harness/FakePluginSession.h"
#include "frames/ColorConversion.h"
#include "frames/FrameConversion.h"
#include "resizer/FrameStream.h"
#include "resizer/OutputGeometry.h"
#include "video-io/Y4mReader.h"

using namespace quorlin_harness;
using namespace quorlin_resizer;

namespace {

using FrameStreamTest = SessionTest;

// A 4:2:0 frame whose samples all differ within their plane and from frame to frame.
Y4mFrame NumberedFrame(int width, int height, int index) {
  Y4mFrame frame;
  frame.Resize(width, height, ChromaFormat::C420);
  for (size_t i = 0; i < frame.y.size(); ++i) frame.y[i] = static_cast<uint8_t>(16 + i + index);
  for (size_t i = 0; i < frame.u.size(); ++i) {
    frame.u[i] = static_cast<uint8_t>(40 + 3 * i + index);
    frame.v[i] = static_cast<uint8_t>(200 - i - index);
  }
  return frame;
}

// How far the reader has come: the fetches made, and whether the input has ended.
class FetchProgress {
 public:
  void Fetched(bool last) {
    std::lock_guard<std::mutex> lock(mutex_);
    ++fetches_;
    ended_ = ended_ || last;
    changed_.notify_all();
  }
  // Waits until `fetches` fetches were made or the input has ended; ten seconds at most, a
  // safety limit.
  void WaitFor(int fetches) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait_for(lock, std::chrono::seconds(10),
                      [&] { return ended_ || fetches_ >= fetches; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int fetches_ = 0;
  bool ended_ = false;
};

// A stream that writes frame k only once the reader has fetched frame k + 2 or reached the end,
// so that the writer lags behind every other stage and the last results are still queued when
// filtering ends.
class LaggingStringBuffer : public std::stringbuf {
 public:
  explicit LaggingStringBuffer(FetchProgress &reader) : reader_(reader) {}

 protected:
  std::streamsize xsputn(const char *text, std::streamsize count) override {
    if (std::string(text, count) == "FRAME\n") reader_.WaitFor(3 + framesStarted_++);
    return std::stringbuf::xsputn(text, count);
  }

 private:
  FetchProgress &reader_;
  int framesStarted_ = 0;
};

// Runs `frames` frames (a fetch failing at `failAt`) through the session into a Y4M text.
std::string Stream(HostSession &session, const Y4mHeader &header, int frames, int failAt = -1,
                   bool filterAlone = false) {
  FetchProgress reader;
  LaggingStringBuffer buffer(reader);
  std::ostream out(&buffer);
  Y4mWriter writer(out, header);
  StreamRun run;
  int fetched = 0;
  run.fetch = [&](Y4mFrame &frame) {
    reader.Fetched(fetched == failAt || fetched == frames);
    if (fetched == failAt) throw Y4mError("truncated frame");
    if (fetched == frames) return false;
    frame = NumberedFrame(header.width, header.height, fetched++);
    return true;
  };
  run.writer = &writer;
  run.filterAlone = filterAlone;
  try {
    RunFrameStream(session, run);
  } catch (const Y4mError &) {
    out << "<failed>";
  }
  return buffer.str();
}

}  // namespace

TEST_F(FrameStreamTest, StreamedFramesComeBackWholeInOrderOnAnyThreadCount) {
  const Y4mHeader header = OutputHeaderFor(Y4mHeader(), 10, 6, ChromaFormat::C444);
  options_.extraImages = kStreamExtraImages;
  for (const auto &[threads, filterAlone] : {std::pair{1, false}, {3, false}, {3, true}}) {
    options_.threads = threads;
    HostSession session(options_);
    std::istringstream written(Stream(session, header, 5, -1, filterAlone));
    Y4mReader reader(written);
    Y4mFrame frame, expected;
    for (int index = 0; index < 5; ++index) {
      ASSERT_TRUE(reader.ReadFrame(frame)) << index;
      // 4:2:0 -> YC48 -> 4:4:4 through a plug-in that passes frames unchanged: the whole-frame
      // conversions of the same frame, its chroma interpolated from centred samples.
      std::vector<PIXEL_YC> pixels(10 * 6);
      FrameIntoImage(false, ChromaSiting{})
          .Convert(NumberedFrame(10, 6, index), reinterpret_cast<uint8_t *>(pixels.data()), 60);
      Yc48ToY4m(reinterpret_cast<const uint8_t *>(pixels.data()), 10, 6, 60, expected);
      EXPECT_EQ(frame.y, expected.y) << index;
      EXPECT_EQ(frame.u, expected.u) << index;
      EXPECT_EQ(frame.v, expected.v) << index;
    }
    EXPECT_FALSE(reader.ReadFrame(frame));
  }
}

TEST_F(FrameStreamTest, StreamEndsLeaveAValidStream) {
  const Y4mHeader header = OutputHeaderFor(Y4mHeader(), 8, 4, ChromaFormat::C422);
  options_.yuy2 = true;
  options_.extraImages = kStreamExtraImages;
  HostSession session(options_);
  const std::string headerLine = FormatY4mHeader(header);
  EXPECT_EQ(Stream(session, header, 0), headerLine) << "no frames: the header alone";
  const std::string two = Stream(session, header, 2);
  EXPECT_EQ(two.size(), headerLine.size() + 2 * (6 + 8 * 4 * 2));
  EXPECT_EQ(Stream(session, header, 5, 2), two + "<failed>")
      << "the frames before a failure are written, then the failure is reported";
}
