// The save timing of the hooks, on a clock the test controls: which frames are timed and the
// title that shows them.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <initializer_list>
#include <string>

#include "host/FrameTimer.h"
#include "host/HostHooks.h"

namespace {

// A counter of 10 MHz. Every reading moves it on by the length of the frame being run, so the
// engine call of a timed frame, read before and after, lasts exactly that long.
constexpr int64_t kTicksPerSecond = 10000000;
int64_t clockNow = 1000 * kTicksPerSecond;
int64_t frameTicks = 0;
int64_t TestCounter() {
  const int64_t now = clockNow;
  clockNow = static_cast<int64_t>(static_cast<uint64_t>(clockNow) + frameTicks);
  return now;
}
int64_t TestFrequency() { return kTicksPerSecond; }

// The host's is_saving, counted.
bool hostSaving = false;
int isSavingQueries = 0;
BOOL __cdecl IsSaving(void *) {
  ++isSavingQueries;
  return hostSaving ? TRUE : FALSE;
}

// The hooks as the host calls them around a save, without an engine (frames pass unchanged).
class SaveTimingTest : public testing::Test {
 protected:
  SaveTimingTest() {
    SetFrameClock(TestCounter, TestFrequency);
    exfunc_.is_saving = IsSaving;
    filter_.exfunc = &exfunc_;
    // A message-only window: its title works without a display.
    filter_.hwnd = CreateWindowExA(0, "STATIC", "Quorlin", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                   nullptr, nullptr);
    hostSaving = false;
  }
  ~SaveTimingTest() override {
    DestroyWindow(filter_.hwnd);
    SetFrameClock(nullptr, nullptr);
  }

  void Frame(double milliseconds) {
    frameTicks = static_cast<int64_t>(milliseconds * kTicksPerSecond / 1000);
    FILTER_PROC_INFO fpip{};
    EXPECT_TRUE(func_proc(&filter_, &fpip));
  }

  // A save of frames of these lengths in milliseconds.
  void Save(std::initializer_list<double> frames) {
    hostSaving = true;
    EXPECT_TRUE(func_save_start(&filter_, 0, 0, nullptr));
    for (double frame : frames) Frame(frame);
    EXPECT_TRUE(func_save_end(&filter_, nullptr));
    hostSaving = false;
  }

  std::string Title() const {
    char title[256];
    const int length = GetWindowTextA(filter_.hwnd, title, sizeof title);
    return std::string(title, length > 0 ? length : 0);
  }

  // A time in the title: whole and fractional milliseconds around the user's separator.
  static std::string Ms(const char *whole, const char *fraction) {
    return whole + UserDecimalSeparator() + fraction + "ms";
  }

  EXFUNC exfunc_{};
  FILTER filter_{};
};

TEST_F(SaveTimingTest, TitleShowsShortestAndAverageOfTheSavedFramesOnly) {
  ASSERT_NE(filter_.hwnd, nullptr);
  Frame(60);  // shown before saving: not timed
  Save({5, 25});
  EXPECT_EQ(Title(), Ms("5", "0000") + " " + Ms("15", "0000"));
  Frame(60);  // after saving: not timed either
  Save({10});
  EXPECT_EQ(Title(), Ms("10", "0000") + " " + Ms("10", "0000"));
}

TEST_F(SaveTimingTest, ASaveWithoutFramesKeepsTheTitle) {
  Save({2.5, 0.25});
  Save({});
  EXPECT_EQ(Title(), Ms("0", "2500") + " " + Ms("1", "3750"));
}

// Readings this high lose whole ticks as doubles, and a counter may wrap between two readings:
// only their difference counts.
TEST_F(SaveTimingTest, FrameTimesAreExactWhereverTheCounterStands) {
  const struct {
    const char *where;
    int64_t start;
  } kCounters[] = {
      {"beyond a double's whole ticks", int64_t{1} << 62},
      {"wrapping during the second frame", INT64_MAX - 30000},
      {"wrapping from negative", -25000},
  };
  for (const auto &counter : kCounters) {
    clockNow = counter.start;
    Save({2.5, 0.25});
    EXPECT_EQ(Title(), Ms("0", "2500") + " " + Ms("1", "3750")) << counter.where;
  }
}

TEST_F(SaveTimingTest, EveryFrameAsksWhetherTheHostSavesBeforeAndAfterTheEngine) {
  for (bool saving : {false, true}) {
    hostSaving = saving;
    isSavingQueries = 0;
    Frame(1);
    EXPECT_EQ(isSavingQueries, 2) << (saving ? "saving" : "not saving");
  }
}

}  // namespace
