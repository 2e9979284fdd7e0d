// The harness's session driving a fake plug-in: hook order, services, the filter window,
// frames and image exchange, saves and project loads.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "harness/FakePluginSession.h"
#include "harness/HostSession.h"

using namespace quorlin_harness;

namespace {

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

// Only a window that holds the panel gets WM_FILTER_INIT and WM_FILTER_EXIT; a title-only
// window still carries the save timing; without a window the hooks run with a null hwnd.
TEST_F(SessionTest, TheFilterWindowsUseDecidesItsMessagesAndTitle) {
  struct Case {
    FilterWindowUse use;
    const char *events;
    bool window;
  };
  const Case cases[] = {
      {FilterWindowUse::Panel, "table;init;msg:init;update;save_start 0 0;save_end;msg:exit;exit;",
       true},
      {FilterWindowUse::TitleOnly, "table;init;update;save_start 0 0;save_end;exit;", true},
      {FilterWindowUse::None, "table;init;update;save_start 0 0;save_end;exit;", false},
  };
  for (const Case &c : cases) {
    std::memset(&log_, 0, sizeof(log_));
    options_.filterWindow = c.use;
    {
      HostSession session(options_);
      EXPECT_EQ(session.WindowHandle() != nullptr, c.window);
      EXPECT_EQ(session.Filter().hwnd, session.WindowHandle());
      session.SaveStart(0, 0);
      session.SaveEnd();
      EXPECT_EQ(session.WindowTitle(), c.window ? "fake timing" : "");
    }
    EXPECT_EQ(std::string(log_.events), std::string(c.events) + "unload;");
  }
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
