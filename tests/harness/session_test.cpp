// The test host's session driving a fake plug-in: hook order, services, the filter window,
// frames and image exchange, saves and project loads, and runs of Y4M frames through it.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <sstream>
#include <vector>

#include "resizer/ColorConversion.h"
#include "resizer/FrameConversion.h"
#include "resizer/FrameStream.h"
#include "harness/HostSession.h"
#include "resizer/OutputGeometry.h"
#include "resizer/Y4mReader.h"
#include "harness/fake_plugin/FakeFilterLog.h"

using namespace quorlin_host;

namespace {

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::memset(&log_, 0, sizeof(log_));
    char address[32];
    std::snprintf(address, sizeof(address), "%lx",
                  static_cast<unsigned long>(reinterpret_cast<uintptr_t>(&log_)));
    SetEnvironmentVariableA(kFakeFilterLogVariable, address);
    options_.aufPath = FAKE_AUF_PATH;
    options_.maxWidth = 64;
    options_.maxHeight = 48;
    options_.threads = 3;
  }

  // A YC48 frame whose pixels all differ, so a moved or dropped pixel shows.
  std::vector<PIXEL_YC> Frame(int width, int height) const {
    std::vector<PIXEL_YC> pixels(width * height);
    for (int i = 0; i < width * height; ++i)
      pixels[i] = PIXEL_YC{static_cast<int16_t>(i), static_cast<int16_t>(-i),
                           static_cast<int16_t>(i * 3)};
    return pixels;
  }

  bool Process(HostSession &session, const std::vector<PIXEL_YC> &pixels, int width,
               int height) const {
    FrameInput input;
    input.pixels = pixels.data();
    input.width = width;
    input.height = height;
    input.strideBytes = width * sizeof(PIXEL_YC);
    return session.ProcessFrame(input);
  }

  PIXEL_YC OutputPixel(const HostSession &session, int x, int y) const {
    const FrameView view = session.Output();
    PIXEL_YC pixel;
    std::memcpy(&pixel, view.pixels + view.strideBytes * y + x * sizeof(PIXEL_YC), sizeof(pixel));
    return pixel;
  }

  FakeFilterLog log_;
  HostSessionOptions options_;
};

bool SamePixel(const PIXEL_YC &a, const PIXEL_YC &b) {
  return a.y == b.y && a.cb == b.cb && a.cr == b.cr;
}

}  // namespace

TEST_F(SessionTest, HooksRunInTheEditorsOrderAndTheLibraryIsReleased) {
  {
    HostSession session(options_);
    const std::vector<PIXEL_YC> pixels = Frame(8, 4);
    Process(session, pixels, 8, 4);
    session.SaveStart(0, 4);
    Process(session, pixels, 8, 4);
    session.SaveEnd();
  }
  EXPECT_STREQ(log_.events,
               "table;init;msg:init;update;proc;save_start 0 4;proc;save_end;msg:exit;exit;"
               "unload;");
  EXPECT_EQ(log_.wndProcHandleMismatches, 0);
}

TEST_F(SessionTest, YUY2ModeTakesTheYUY2Table) {
  options_.yuy2 = true;
  HostSession session(options_);
  EXPECT_EQ(std::strncmp(log_.events, "table_yuy2;", 11), 0) << log_.events;
  EXPECT_EQ(session.BytesPerPixel(), 2);
}

TEST_F(SessionTest, TheHostsRecordIsACopyWithServicesWindowAndModule) {
  HostSession session(options_);
  const FILTER &fp = session.Filter();
  EXPECT_STREQ(fp.name, "Fake");
  EXPECT_EQ(fp.hwnd, session.WindowHandle());
  EXPECT_NE(fp.dll_hinst, nullptr);
  ASSERT_NE(fp.exfunc, nullptr);
  EXPECT_NE(fp.exfunc->is_saving, nullptr);
  EXPECT_NE(fp.exfunc->is_filter_active, nullptr);
  EXPECT_NE(fp.exfunc->get_sys_info, nullptr);
  EXPECT_NE(fp.exfunc->exec_multi_thread_func, nullptr);
  for (void *slot : fp.exfunc->reserved0) EXPECT_EQ(slot, nullptr);
  for (void *slot : fp.exfunc->reserved6) EXPECT_EQ(slot, nullptr);
  for (void *slot : fp.exfunc->reserved26) EXPECT_EQ(slot, nullptr);
  for (void *slot : fp.exfunc->reserved41) EXPECT_EQ(slot, nullptr);
  EXPECT_EQ(log_.sysMaxWidth, 64);
  EXPECT_EQ(log_.sysMaxHeight, 48);
  EXPECT_EQ(session.WindowTitle(), "Fake");
}

TEST_F(SessionTest, TheFilterWindowHasTheTablesClientSize) {
  HostSession session(options_);
  if (!session.WindowIsTopLevel()) GTEST_SKIP() << "no display: message-only filter window";
  RECT client;
  GetClientRect(session.WindowHandle(), &client);
  EXPECT_EQ(client.right - client.left, kFakeWindowWidth);
  EXPECT_EQ(client.bottom - client.top, kFakeWindowHeight);
}

TEST_F(SessionTest, OnlyOneSessionAtATime) {
  HostSession session(options_);
  EXPECT_THROW(HostSession second(options_), std::logic_error);
}

TEST_F(SessionTest, MissingLibraryIsReported) {
  options_.aufPath = "Z:\\nonexistent\\Missing.auf";
  EXPECT_THROW(HostSession session(options_), std::runtime_error);
  options_.aufPath = FAKE_AUF_PATH;
  EXPECT_NO_THROW(HostSession session(options_));  // the failed one left no live session
}

TEST_F(SessionTest, ProjectLoadWritesIntoThePluginsMemoryThenUpdates) {
  HostSession session(options_);
  std::vector<uint8_t> bytes(kFakeExDataSize);
  for (int i = 0; i < kFakeExDataSize; ++i) bytes[i] = static_cast<uint8_t>(0xA0 + i);
  log_.events[0] = '\0';
  EXPECT_TRUE(session.LoadProject(bytes));
  EXPECT_STREQ(log_.events, "update;");
  EXPECT_EQ(std::memcmp(log_.exDataAtUpdate, bytes.data(), bytes.size()), 0);
  EXPECT_EQ(session.ExData(), bytes);
  EXPECT_EQ(std::memcmp(session.Filter().ex_data_ptr, bytes.data(), bytes.size()), 0);

  bytes.push_back(0);
  EXPECT_THROW(session.LoadProject(bytes), std::invalid_argument);
  bytes.resize(kFakeExDataSize - 2);
  EXPECT_THROW(session.LoadProject(bytes), std::invalid_argument);
}

TEST_F(SessionTest, NonZeroWndProcResultRedrawsTheCurrentFrame) {
  HostSession session(options_);
  EXPECT_EQ(session.SendFilterMessage(kFakeRedrawMessage), 1);
  EXPECT_EQ(session.RedrawCount(), 0) << "no frame yet, nothing to redraw";

  const std::vector<PIXEL_YC> pixels = Frame(6, 5);
  Process(session, pixels, 6, 5);
  EXPECT_EQ(session.SendFilterMessage(kFakeRedrawMessage), 1);
  EXPECT_EQ(session.RedrawCount(), 1);
  EXPECT_EQ(log_.procCalls, 2);

  session.SetFilterActive(false);
  EXPECT_EQ(session.SendFilterMessage(kFakeRedrawMessage), 0);
  EXPECT_EQ(session.SendFilterMessage(WM_USER + 1), 0);
  EXPECT_EQ(session.RedrawCount(), 1);
  EXPECT_EQ(log_.procCalls, 2);
}

TEST_F(SessionTest, RedrawsStartFromTheInputFrameAgain) {
  log_.procMode = FakeProcMode::HalveIntoScratch;
  HostSession session(options_);
  const std::vector<PIXEL_YC> pixels = Frame(8, 3);
  Process(session, pixels, 8, 3);
  session.SendFilterMessage(kFakeRedrawMessage);
  const FrameView view = session.Output();
  EXPECT_EQ(view.width, 4);
  EXPECT_EQ(view.height, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x)
      EXPECT_TRUE(SamePixel(OutputPixel(session, x, y), pixels[y * 8 + 2 * x])) << x << "," << y;
}

TEST_F(SessionTest, IsSavingIsTrueOnlyBetweenSaveStartAndEnd) {
  HostSession session(options_);
  const std::vector<PIXEL_YC> pixels = Frame(4, 4);
  Process(session, pixels, 4, 4);
  EXPECT_EQ(log_.savingDuringLastProc, 0);
  session.SaveStart(0, 1);
  Process(session, pixels, 4, 4);
  EXPECT_NE(log_.savingDuringLastProc, 0);
  EXPECT_EQ(session.WindowTitle(), "Fake");
  session.SaveEnd();
  EXPECT_EQ(session.WindowTitle(), "fake timing");
  Process(session, pixels, 4, 4);
  EXPECT_EQ(log_.savingDuringLastProc, 0);
}

TEST_F(SessionTest, ExchangedImagesAreKeptForOutputAndTheNextFrame) {
  log_.procMode = FakeProcMode::HalveIntoScratch;
  HostSession session(options_);
  const std::vector<PIXEL_YC> first = Frame(10, 2);
  Process(session, first, 10, 2);
  const uint8_t *firstImage = session.Output().pixels;
  std::vector<PIXEL_YC> second = Frame(12, 3);
  for (PIXEL_YC &pixel : second) pixel.y = static_cast<int16_t>(pixel.y + 1000);
  Process(session, second, 12, 3);
  EXPECT_NE(session.Output().pixels, firstImage) << "the exchange goes back and forth";
  EXPECT_EQ(session.Output().width, 6);
  for (int x = 0; x < 6; ++x)
    EXPECT_TRUE(SamePixel(OutputPixel(session, x, 2), second[2 * 12 + 2 * x])) << x;
}

TEST_F(SessionTest, BrokenImagePointersAreReported) {
  log_.procMode = FakeProcMode::BreakImagePointers;
  HostSession session(options_);
  const std::vector<PIXEL_YC> pixels = Frame(4, 4);
  EXPECT_THROW(Process(session, pixels, 4, 4), std::runtime_error);
  EXPECT_THROW(session.SendFilterMessage(kFakeRedrawMessage), std::runtime_error);
}

TEST_F(SessionTest, FramesLargerThanTheMaximumImageAreRefused) {
  HostSession session(options_);
  const std::vector<PIXEL_YC> pixels = Frame(65, 48);
  EXPECT_THROW(Process(session, pixels, 65, 48), std::invalid_argument);
  EXPECT_THROW(Process(session, pixels, 48, 49), std::invalid_argument);
  EXPECT_EQ(log_.procCalls, 0);
}

TEST_F(SessionTest, MultiThreadServiceRunsEveryWorkerOnce) {
  log_.procMode = FakeProcMode::RunOnAllThreads;
  HostSession session(options_);
  const std::vector<PIXEL_YC> pixels = Frame(4, 4);
  Process(session, pixels, 4, 4);
  Process(session, pixels, 4, 4);
  EXPECT_EQ(log_.threadNum, 3);
  EXPECT_EQ(log_.threadHits[0], 2);
  EXPECT_EQ(log_.threadHits[1], 2);
  EXPECT_EQ(log_.threadHits[2], 2);
  EXPECT_EQ(log_.threadHits[3], 0);
}

TEST_F(SessionTest, MultiThreadServiceCanBeLeftOut) {
  log_.procMode = FakeProcMode::RunOnAllThreads;
  options_.multiThreadService = false;
  HostSession session(options_);
  EXPECT_EQ(session.Filter().exfunc->exec_multi_thread_func, nullptr);
  const std::vector<PIXEL_YC> pixels = Frame(4, 4);
  Process(session, pixels, 4, 4);
  EXPECT_EQ(log_.multiThreadServiceMissing, 1);
}

namespace {

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
    changed_.wait_for(lock, std::chrono::seconds(10), [&] { return ended_ || fetches_ >= fetches; });
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
std::string Stream(HostSession &session, const Y4mHeader &header, int frames, int failAt = -1) {
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
  try {
    RunFrameStream(session, run);
  } catch (const Y4mError &) {
    out << "<failed>";
  }
  return buffer.str();
}

}  // namespace

TEST_F(SessionTest, StreamedFramesComeBackWholeInOrderOnAnyThreadCount) {
  const Y4mHeader header = OutputHeaderFor(Y4mHeader(), 10, 6, ChromaFormat::C444);
  options_.extraImages = kStreamExtraImages;
  for (int threads : {1, 3}) {
    options_.threads = threads;
    HostSession session(options_);
    std::istringstream written(Stream(session, header, 5));
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

TEST_F(SessionTest, StreamEndsLeaveAValidStream) {
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
