// The method lists, their mirror behaviour, the parameter panels and up-downs, and the kernel.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "DialogHarness.h"

namespace {

using Entries = std::vector<std::string>;

// The up-down range query, which the cross headers do not declare.
constexpr UINT kUpDownGetRange32 = WM_USER + 112;

// Lanczos remembers 5 for luma and 7 for chroma; Signed remembers -20 and 30.
DialogSetup RememberedSetup() {
  DialogSetup setup;
  setup.keys = {{"Func_Lanczos", "1,5,7"}, {"Func_Signed", "1,-20,30"}};
  setup.project = ProjectSettings(320, 240, "Lanczos", "Lanczos", 5, 5);
  return setup;
}

TEST(MethodLists, HoldTheWindowFunctionsThenTheBuiltInMethodsAndTheKernels) {
  DialogHarness dialog;
  const Entries methods{"Spline36", "Lanczos", "Signed", "Wide", "NearestNeighbor", "AreaAverage"};
  EXPECT_EQ(dialog.Entries(kIdLumaMode), methods);
  EXPECT_EQ(dialog.Entries(kIdChromaMode), methods);
  EXPECT_EQ(dialog.Entries(kIdSIMDMode), (Entries{"KernelA", "KernelB"}));
}

TEST(MethodLists, YUY2ModeOffersOnlyWindowFunctions) {
  DialogSetup setup;
  setup.yuy2 = true;
  DialogHarness dialog(setup);
  EXPECT_EQ(dialog.Entries(kIdLumaMode), (Entries{"Spline36", "Lanczos", "Signed", "Wide"}));
}

TEST(MethodChoice, ABuiltInMethodMovesBothSidesAndHidesBothPanelsInOneRebuild) {
  DialogHarness dialog(RememberedSetup());
  ASSERT_TRUE(dialog.Visible(kIdLumaParamPanel));
  const int redraws = dialog.Redraws();
  dialog.Choose(kIdLumaMode, "AreaAverage");
  EXPECT_EQ(dialog.SelectedEntry(kIdChromaMode), "AreaAverage");
  const ResizeSettings settings = dialog.Settings();
  EXPECT_EQ(NameOf(settings.LumaMode), "AreaAverage");
  EXPECT_EQ(NameOf(settings.ChromaMode), "AreaAverage");
  EXPECT_EQ(settings.LumaParam, 0);
  EXPECT_EQ(settings.ChromaParam, 0);
  EXPECT_FALSE(dialog.Visible(kIdLumaParamPanel));
  EXPECT_FALSE(dialog.Visible(kIdChromaParamPanel));
  EXPECT_FALSE(dialog.Visible(kIdChromaParamUpDown));
  EXPECT_EQ(dialog.Redraws(), redraws + 1);

  dialog.Choose(kIdChromaMode, "NearestNeighbor");
  EXPECT_EQ(dialog.SelectedEntry(kIdLumaMode), "NearestNeighbor");
}

TEST(MethodChoice, AWindowFunctionMovesTheOtherSideOffABuiltInMethodWithItsOwnParameter) {
  DialogHarness dialog(RememberedSetup());
  dialog.Choose(kIdLumaMode, "NearestNeighbor");
  const int redraws = dialog.Redraws();
  const int32_t creates = dialog.Creates();
  dialog.Choose(kIdChromaMode, "Signed");
  EXPECT_EQ(dialog.SelectedEntry(kIdLumaMode), "Signed");
  const ResizeSettings settings = dialog.Settings();
  EXPECT_EQ(NameOf(settings.LumaMode), "Signed");
  EXPECT_EQ(settings.LumaParam, -20);
  EXPECT_EQ(settings.ChromaParam, 30);
  EXPECT_EQ(dialog.Redraws(), redraws + 1);
  EXPECT_EQ(dialog.Creates(), creates + 2);  // one setter with a function per side
  EXPECT_TRUE(dialog.Visible(kIdLumaParamPanel));
  EXPECT_TRUE(dialog.Visible(kIdChromaParamEdit));

  // Two different window functions may stand side by side.
  dialog.Choose(kIdLumaMode, "Lanczos");
  EXPECT_EQ(dialog.SelectedEntry(kIdChromaMode), "Signed");
  EXPECT_EQ(dialog.Settings().LumaParam, 5);
}

TEST(MethodChoice, ReselectingTheCurrentMethodKeepsItsStoredParameter) {
  DialogSetup setup = RememberedSetup();
  setup.project = ProjectSettings(320, 240, "Lanczos", "Lanczos", 9, 9);  // in range: remembered
  DialogHarness dialog(setup);
  dialog.Choose(kIdLumaMode, "Lanczos");
  EXPECT_EQ(dialog.Settings().LumaParam, 9);
}

TEST(ParameterPanels, ShowTheFunctionsLabelRangeAndRememberedValue) {
  DialogHarness dialog(RememberedSetup());
  dialog.Choose(kIdChromaMode, "Signed");
  char caption[64] = {};
  GetWindowTextA(dialog.Control(kIdChromaParamPanel), caption, sizeof caption);
  EXPECT_STREQ(caption, "bias");
  INT low = 0, high = 0;
  SendMessageA(dialog.Control(kIdChromaParamUpDown), kUpDownGetRange32, reinterpret_cast<WPARAM>(&low),
               reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(low, -100);
  EXPECT_EQ(high, 100);
  GetWindowTextA(dialog.Control(kIdChromaParamEdit), caption, sizeof caption);
  EXPECT_STREQ(caption, "30");

  // Spline36 has no label: no panel, whatever its range.
  dialog.Choose(kIdChromaMode, "Spline36");
  EXPECT_FALSE(dialog.Visible(kIdChromaParamPanel));
  EXPECT_TRUE(dialog.Visible(kIdLumaParamPanel));
}

TEST(ParameterUpDown, AStepStoresTheValueInBothPlacesWithOneRebuildAndOneRedraw) {
  DialogHarness dialog(RememberedSetup());
  const int redraws = dialog.Redraws();
  const int32_t creates = dialog.Creates();
  dialog.ArrowKey(kIdLumaParamEdit, VK_UP);
  EXPECT_EQ(dialog.Settings().LumaParam, 6);
  EXPECT_EQ(dialog.Settings().ChromaParam, 5);
  EXPECT_EQ(dialog.Redraws(), redraws + 1);
  EXPECT_EQ(dialog.Creates(), creates + 2);  // separate functions now: 6 and 5
  char text[16] = {};
  GetWindowTextA(dialog.Control(kIdLumaParamEdit), text, sizeof text);
  EXPECT_STREQ(text, "6");
  dialog.Finish();
  // The project's chroma 5 lay inside the range, so it became the remembered chroma value.
  EXPECT_EQ(dialog.Setting("Func_Lanczos"), "1,6,5");
}

TEST(ParameterUpDown, PositionsOutsideTheFunctionsRangeAreIgnored) {
  DialogHarness dialog(RememberedSetup());
  const int redraws = dialog.Redraws();
  dialog.NotifyUpDown(kIdLumaParamUpDown, 10, 1);
  dialog.NotifyUpDown(kIdLumaParamUpDown, 1, -1);
  dialog.ArrowKey(kIdChromaParamEdit, VK_UP);  // 5 -> 6 is fine
  EXPECT_EQ(dialog.Settings().LumaParam, 5);
  EXPECT_EQ(dialog.Settings().ChromaParam, 6);
  EXPECT_EQ(dialog.Redraws(), redraws + 1);
}

TEST(ParameterUpDown, AStepPastTheSixteenBitEndDoesNotWrapToTheOtherEnd) {
  DialogSetup setup;
  setup.keys = {{"Func_Wide", "1,32767,0"}};
  setup.project = ProjectSettings(320, 240, "Wide", "Wide", 32767, 0);
  DialogHarness dialog(setup);
  dialog.NotifyUpDown(kIdLumaParamUpDown, 32767, 1);
  EXPECT_EQ(dialog.Settings().LumaParam, 32767);
  dialog.NotifyUpDown(kIdLumaParamUpDown, 32767, -1);
  EXPECT_EQ(dialog.Settings().LumaParam, 32766);
}

TEST(ParameterUpDown, ANotificationWhileABuiltInMethodIsChosenChangesNothing) {
  DialogHarness dialog(RememberedSetup());
  dialog.Choose(kIdLumaMode, "NearestNeighbor");
  const int redraws = dialog.Redraws();
  dialog.NotifyUpDown(kIdLumaParamUpDown, 5, 1);
  EXPECT_EQ(dialog.Settings().LumaParam, 0);
  EXPECT_EQ(dialog.Redraws(), redraws);
}

TEST(StoredNames, ANameInOtherLetterCaseSelectsTheEntryAndTakesItsSpellingAndParameter) {
  DialogSetup setup = RememberedSetup();
  setup.project = ProjectSettings(320, 240, "lanczos", "LANCZOS", 2, 2, "kernelb");
  DialogHarness dialog(setup);
  EXPECT_EQ(dialog.SelectedEntry(kIdLumaMode), "Lanczos");
  const ResizeSettings settings = dialog.Settings();
  EXPECT_EQ(NameOf(settings.LumaMode), "Lanczos");
  EXPECT_EQ(NameOf(settings.ChromaMode), "Lanczos");
  EXPECT_EQ(NameOf(settings.SIMDMode), "KernelB");
  EXPECT_EQ(settings.LumaParam, 5);
  EXPECT_EQ(settings.ChromaParam, 7);
  // The engine was given what the dialog shows: Lanczos (function 1) with 7 for chroma.
  EXPECT_EQ(dialog.LastCreate(), std::make_pair(int32_t{kLanczos}, int32_t{7}));
}

TEST(StoredNames, AnUnlistedNameFallsBackToTheFirstEntry) {
  DialogSetup setup = RememberedSetup();
  setup.project = ProjectSettings(320, 240, "Bicubic", "Bicubic", 2, 2, "KernelZ");
  DialogHarness dialog(setup);
  EXPECT_EQ(dialog.SelectedEntry(kIdLumaMode), "Spline36");
  EXPECT_EQ(NameOf(dialog.Settings().LumaMode), "Spline36");
  EXPECT_EQ(NameOf(dialog.Settings().SIMDMode), "KernelA");
  EXPECT_FALSE(dialog.Visible(kIdLumaParamPanel));
}

TEST(KernelChoice, PickingAKernelStoresItsNameAndRedrawsOnce) {
  DialogHarness dialog;
  const int redraws = dialog.Redraws();
  dialog.Choose(kIdSIMDMode, "KernelB");
  EXPECT_EQ(NameOf(dialog.Settings().SIMDMode), "KernelB");
  EXPECT_EQ(dialog.Redraws(), redraws + 1);
}

// A method or kernel whose name is longer than the record's 32-byte field: the record holds the
// name's start, and the dialog still shows that method and kernel after the project is loaded
// again, leaving the record as it was.
TEST(MethodChoice, NamesLongerThanTheRecordHoldsStayChosen) {
  const std::string suffix = ", under a name longer than a settings record holds";
  DialogSetup setup;
  setup.layout.windowFuncs = false;
  setup.layout.extraLibraries = {"LongNameWindowFuncs.dll", "RecordingKernelLong.dll"};
  DialogHarness dialog(setup);
  dialog.Choose(kIdLumaMode, "Signed" + suffix);
  dialog.Choose(kIdSIMDMode, "KernelLong" + suffix);
  const ResizeSettings chosen = dialog.Settings();
  EXPECT_EQ(NameOf(chosen.LumaMode), ("Signed" + suffix).substr(0, 32));
  EXPECT_EQ(chosen.LumaParam, -7);

  dialog.LoadProject(chosen);
  EXPECT_EQ(dialog.SelectedEntry(kIdLumaMode), "Signed" + suffix);
  EXPECT_EQ(dialog.SelectedEntry(kIdSIMDMode), "KernelLong" + suffix);
  EXPECT_EQ(ProjectBytes(dialog.Settings()), ProjectBytes(chosen));
}

}  // namespace
