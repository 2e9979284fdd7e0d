// The save title through the real plug-in, and the window procedure's answers.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>

#include "harness/HostSession.h"
#include "PluginInstall.h"

namespace {

using quorlin_harness::HostSession;

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

// The title after a save, through the real plug-in; which frames count and what the title
// shows are tested on the test's own clock (save_timing_test.cpp).
TEST(SaveTiming, ASaveWithFramesShowsItsFrameTimesInTheTitle) {
  PluginInstall install;
  HostSession session(install.Options());
  ASSERT_TRUE(session.LoadProject(ProjectBytes(ProjectSettings(8, 8, "Lanczos", "Lanczos", 3, 3))));
  ASSERT_TRUE(session.SaveStart(0, 1));
  ASSERT_TRUE(ProcessGreyFrame(session, 16, 8));
  ASSERT_TRUE(ProcessGreyFrame(session, 16, 8));
  ASSERT_TRUE(session.SaveEnd());
  double shortest = -1, average = -1;
  ASSERT_TRUE(ParseFrameTimes(session.WindowTitle(), &shortest, &average)) << session.WindowTitle();
  EXPECT_GE(shortest, 0.0);
  EXPECT_GE(average, shortest);
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
