// The save timing with its title, and the window procedure's answers.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "HostSession.h"
#include "PluginInstall.h"

namespace {

using quorlin_host::HostSession;

constexpr UINT kSettingsChanged = 0x8200;

std::string UserDecimalSeparatorForTest() {
  char separator[8] = {};
  return GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, sizeof separator) > 1
             ? separator
             : ".";
}

// Reads "<min>ms <average>ms", each with four decimals after the user's separator.
bool ParseFrameTimes(const std::string &title, double *shortest, double *average) {
  const std::string separator = UserDecimalSeparatorForTest();
  std::string plain;
  size_t numbers = 0;
  for (size_t pos = 0; pos < title.size();) {
    const size_t unit = title.find("ms", pos);
    if (unit == std::string::npos) return false;
    std::string number = title.substr(pos, unit - pos);
    const size_t point = number.size() - 4 - separator.size();
    if (number.size() < 5 + separator.size() || number.compare(point, separator.size(), separator) != 0)
      return false;
    number.replace(point, separator.size(), ".");
    (numbers == 0 ? *shortest : *average) = std::atof(number.c_str());
    ++numbers;
    pos = unit + 2;
    if (pos < title.size() && title[pos++] != ' ') return false;
  }
  return numbers == 2;
}

class SaveTimingTest : public testing::Test {
 protected:
  SaveTimingTest() : session_(install_.Options()) {
    session_.LoadProject(ProjectBytes(ProjectSettings(8, 8, "Lanczos", "Lanczos", 3, 3)));
  }

  // A frame whose kernel call lasts at least `milliseconds`.
  void Frame(int milliseconds) {
    install_.KernelLog("RecordingKernelA.dll")->SleepMilliseconds = milliseconds;
    install_.KernelLog("RecordingKernelB.dll")->SleepMilliseconds = milliseconds;
    ASSERT_TRUE(ProcessGreyFrame(session_, 16, 8));
  }

  PluginInstall install_;
  HostSession session_;
};

TEST_F(SaveTimingTest, TitleShowsShortestAndAverageOfTheSavedFramesOnly) {
  Frame(60);  // shown before saving: not timed
  ASSERT_TRUE(session_.SaveStart(0, 1));
  Frame(5);
  Frame(25);
  ASSERT_TRUE(session_.SaveEnd());
  Frame(60);  // after saving: not timed either

  double shortest = 0, average = 0;
  ASSERT_TRUE(ParseFrameTimes(session_.WindowTitle(), &shortest, &average)) << session_.WindowTitle();
  EXPECT_GE(shortest, 5.0);
  EXPECT_LT(shortest, 25.0);
  EXPECT_GE(average, 15.0);
  EXPECT_LT(average, 60.0);
}

TEST_F(SaveTimingTest, EachSaveStartsAfreshAndASaveWithoutFramesKeepsTheTitle) {
  ASSERT_TRUE(session_.SaveStart(0, 0));
  Frame(40);
  ASSERT_TRUE(session_.SaveEnd());
  ASSERT_TRUE(session_.SaveStart(0, 0));
  Frame(5);
  ASSERT_TRUE(session_.SaveEnd());
  double shortest = 0, average = 0;
  const std::string title = session_.WindowTitle();
  ASSERT_TRUE(ParseFrameTimes(title, &shortest, &average)) << title;
  EXPECT_LT(average, 40.0);

  ASSERT_TRUE(session_.SaveStart(0, 0));
  ASSERT_TRUE(session_.SaveEnd());
  EXPECT_EQ(session_.WindowTitle(), title);
}

// The host's is_saving, counted: the test puts it in place of the test host's own service.
BOOL(__cdecl *hostIsSaving)(void *editp) = nullptr;
int isSavingQueries = 0;

BOOL __cdecl CountedIsSaving(void *editp) {
  ++isSavingQueries;
  return hostIsSaving(editp);
}

TEST_F(SaveTimingTest, EveryFrameAsksWhetherTheHostSavesBeforeAndAfterTheEngine) {
  EXFUNC *exfunc = session_.Filter().exfunc;
  hostIsSaving = exfunc->is_saving;
  exfunc->is_saving = &CountedIsSaving;
  for (bool saving : {false, true}) {
    if (saving) ASSERT_TRUE(session_.SaveStart(0, 0));
    isSavingQueries = 0;
    Frame(0);
    EXPECT_EQ(isSavingQueries, 2) << (saving ? "saving" : "not saving");
  }
  ASSERT_TRUE(session_.SaveEnd());
  exfunc->is_saving = hostIsSaving;
}

TEST(WindowProcedure, SettingsChangedAsksForARedrawOnlyWhileActive) {
  PluginInstall install;
  HostSession session(install.Options());
  ASSERT_TRUE(session.LoadProject(ProjectBytes(ProjectSettings(8, 8, "Lanczos", "Lanczos", 3, 3))));
  ASSERT_TRUE(ProcessGreyFrame(session, 16, 8));
  const int redraws = session.RedrawCount();
  EXPECT_NE(session.SendFilterMessage(kSettingsChanged), 0);
  EXPECT_EQ(session.RedrawCount(), redraws + 1);

  session.SetFilterActive(false);
  EXPECT_EQ(session.SendFilterMessage(kSettingsChanged), 0);
  EXPECT_EQ(session.RedrawCount(), redraws + 1);
  EXPECT_EQ(session.SendFilterMessage(WM_USER + 1), 0);
}

}  // namespace
