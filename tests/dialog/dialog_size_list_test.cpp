// The size list: entries read from the settings file, added through the text-input window,
// deleted, and the warnings for typed text that is no size and for sizes the host cannot take.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DialogHarness.h"

namespace {

using Entries = std::vector<std::string>;

const char kTooLarge[] = "AviUtlの最大画像サイズより大きなサイズは指定出来ません";
const char kOddWidth[] = "YUY2フィルタモードでは幅が偶数である必要があります";
const char kSizeFormat[] = "サイズは640x480のように幅x高さの形で指定する必要があります";

void AddSize(DialogHarness &dialog, const std::string &text) {
  dialog.Answerer().AnswerNextInput(text);
  dialog.Click(kIdAddSize);
}

TEST(SizeListFromSettings, IsSortedWithoutDuplicatesAndDropsBadEntriesWithTheirWarnings) {
  DialogSetup setup;
  setup.sizeList = "800x600, 320x240,640X480,320x240,x480,1920x1089,640x360,\"640x480\"";
  DialogHarness dialog(setup);
  EXPECT_EQ(dialog.Entries(kIdSizeList), (Entries{"320x240", "512x384", "640x360", "640x480", "800x600"}));
  EXPECT_EQ(dialog.Answerer().TakeWarnings(), (Entries{kTooLarge}));
  EXPECT_EQ(dialog.SelectedEntry(kIdSizeList), "320x240");
  EXPECT_TRUE(dialog.Enabled(kIdDeleteSize));
}

TEST(SizeListFromSettings, AnEmptyListGetsTheFallbackSizeAndNoDeleteButton) {
  DialogSetup setup;
  setup.sizeList = "0x480";
  setup.project = ProjectSettings(4000, 480, "Lanczos", "Lanczos", 3, 3);
  DialogHarness dialog(setup);
  EXPECT_EQ(dialog.Entries(kIdSizeList), (Entries{"512x384"}));
  EXPECT_FALSE(dialog.Enabled(kIdDeleteSize));
  // The project's size is too large, so it falls back to the first entry.
  EXPECT_EQ(dialog.Answerer().TakeWarnings(), (Entries{kTooLarge}));
  EXPECT_EQ(dialog.Settings().Width, 512);
  EXPECT_EQ(dialog.Settings().Height, 384);
}

TEST(SizeListFromSettings, AProjectSizeThatIsMissingIsAddedButNotStored) {
  DialogSetup setup;
  setup.project = ProjectSettings(1280, 720, "Lanczos", "Lanczos", 3, 3);
  DialogHarness dialog(setup);
  EXPECT_EQ(dialog.Entries(kIdSizeList), (Entries{"320x240", "512x384", "800x600", "1280x720"}));
  EXPECT_EQ(dialog.SelectedEntry(kIdSizeList), "1280x720");
  EXPECT_TRUE(dialog.Enabled(kIdDeleteSize));
  dialog.Finish();
  EXPECT_EQ(dialog.Setting("SizeList"), "320x240,512x384,800x600");
}

TEST(AddSize, InsertsInSortedPlaceSelectsItAndStoresTheList) {
  DialogHarness dialog;
  const int redraws = dialog.Redraws();
  AddSize(dialog, "  640x480\t");
  EXPECT_EQ(dialog.Entries(kIdSizeList), (Entries{"320x240", "512x384", "640x480", "800x600"}));
  EXPECT_EQ(dialog.SelectedEntry(kIdSizeList), "640x480");
  EXPECT_EQ(dialog.Settings().Width, 640);
  EXPECT_EQ(dialog.Settings().Height, 480);
  EXPECT_EQ(dialog.Redraws(), redraws + 1);

  AddSize(dialog, "640x360");
  EXPECT_EQ(dialog.Entries(kIdSizeList), (Entries{"320x240", "512x384", "640x360", "640x480", "800x600"}));
  AddSize(dialog, "640x480");
  EXPECT_EQ(dialog.Entries(kIdSizeList).size(), 5u);
  EXPECT_EQ(dialog.SelectedEntry(kIdSizeList), "640x480");
  EXPECT_EQ(dialog.Settings().Height, 480);
  dialog.Finish();
  EXPECT_EQ(dialog.Setting("SizeList"), "320x240,512x384,640x360,640x480,800x600");
}

TEST(AddSize, TheInputWindowAsksForOneLineOfAtMost255Characters) {
  DialogHarness dialog;
  dialog.Answerer().CancelNextInput();
  dialog.Click(kIdAddSize);
  const std::vector<InputWindowSeen> seen = dialog.Answerer().TakeInputWindows();
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].Prompt, "入力例) 640x480");
  EXPECT_EQ(seen[0].EditLimit, 255);
  EXPECT_TRUE(seen[0].OkIsDefault);
  EXPECT_TRUE(seen[0].HasCancel);
  EXPECT_NEAR(seen[0].Centre.x, GetSystemMetrics(SM_CXSCREEN) / 2, 2);
  EXPECT_NEAR(seen[0].Centre.y, GetSystemMetrics(SM_CYSCREEN) / 2, 2);
  EXPECT_EQ(dialog.Entries(kIdSizeList), (Entries{"320x240", "512x384", "800x600"}));
}

// What a Japanese input method types is added in the list's form, or found when the list
// already holds it.
TEST(AddSize, TypedFullWidthAndCapitalXSizesAreAddedInTheListsForm) {
  DialogHarness dialog;
  AddSize(dialog, "６４０×４８０");
  AddSize(dialog, " 1280 X 720 ");
  AddSize(dialog, "８００ｘ６００");
  EXPECT_TRUE(dialog.Answerer().TakeWarnings().empty());
  EXPECT_EQ(dialog.Entries(kIdSizeList), (Entries{"320x240", "512x384", "640x480", "800x600", "1280x720"}));
  EXPECT_EQ(dialog.SelectedEntry(kIdSizeList), "800x600");
  EXPECT_EQ(dialog.Settings().Width, 800);
  dialog.Finish();
  EXPECT_EQ(dialog.Setting("SizeList"), "320x240,512x384,640x480,800x600,1280x720");
}

// Typed text that is still no size is refused with a warning, each time, and changes nothing.
TEST(AddSize, TextThatIsNoSizeIsWarnedAndNotAdded) {
  DialogHarness dialog;
  const ResizeSettings before = dialog.Settings();
  const int redraws = dialog.Redraws();
  const Entries texts{"x480", "640x", "0x480", "640x-480", "640*480", "６４０』４８０", ""};
  for (const std::string &text : texts) AddSize(dialog, text);
  EXPECT_EQ(dialog.Answerer().TakeWarnings(), Entries(texts.size(), kSizeFormat));
  EXPECT_EQ(dialog.Entries(kIdSizeList), (Entries{"320x240", "512x384", "800x600"}));
  EXPECT_EQ(dialog.Settings().Width, before.Width);
  EXPECT_EQ(dialog.Redraws(), redraws);
}

TEST(AddSize, SizesBeyondTheHostMaximumAreWarnedAndNotAdded) {
  DialogHarness dialog;
  AddSize(dialog, "1920x1089");
  AddSize(dialog, "1921x1088");
  EXPECT_EQ(dialog.Answerer().TakeWarnings(), (Entries{kTooLarge, kTooLarge}));
  EXPECT_EQ(dialog.Entries(kIdSizeList), (Entries{"320x240", "512x384", "800x600"}));
  EXPECT_EQ(dialog.SelectedEntry(kIdSizeList), "320x240");
  EXPECT_EQ(dialog.Settings().Width, 320);
  AddSize(dialog, "1920x1088");
  EXPECT_TRUE(dialog.Answerer().TakeWarnings().empty());
  EXPECT_EQ(dialog.SelectedEntry(kIdSizeList), "1920x1088");
}

TEST(AddSize, YUY2ModeWantsEvenWidthsButAcceptsOddHeights) {
  DialogSetup setup;
  setup.yuy2 = true;
  DialogHarness dialog(setup);
  AddSize(dialog, "641x480");
  EXPECT_EQ(dialog.Answerer().TakeWarnings(), (Entries{kOddWidth}));
  AddSize(dialog, "640x481");
  EXPECT_TRUE(dialog.Answerer().TakeWarnings().empty());
  EXPECT_EQ(dialog.Entries(kIdSizeList), (Entries{"320x240", "512x384", "640x481", "800x600"}));
  dialog.Finish();
  EXPECT_EQ(dialog.Setting("YUY2SizeList"), "320x240,512x384,640x481,800x600");
}

TEST(DeleteSize, DeletingTheLastEntrySelectsTheNewLastAndOneEntryIsKept) {
  DialogSetup setup;
  setup.sizeList = "320x240,512x384,640x480,800x600";
  setup.project = ProjectSettings(800, 600, "Lanczos", "Lanczos", 3, 3);
  DialogHarness dialog(setup);
  const int redraws = dialog.Redraws();
  dialog.Click(kIdDeleteSize);
  EXPECT_EQ(dialog.Entries(kIdSizeList), (Entries{"320x240", "512x384", "640x480"}));
  EXPECT_EQ(dialog.SelectedEntry(kIdSizeList), "640x480");
  EXPECT_EQ(dialog.Settings().Width, 640);
  EXPECT_EQ(dialog.Redraws(), redraws + 1);

  dialog.Choose(kIdSizeList, "320x240");
  dialog.Click(kIdDeleteSize);
  EXPECT_EQ(dialog.SelectedEntry(kIdSizeList), "512x384");
  dialog.Click(kIdDeleteSize);
  EXPECT_EQ(dialog.Entries(kIdSizeList), (Entries{"640x480"}));
  EXPECT_EQ(dialog.SelectedEntry(kIdSizeList), "640x480");
  EXPECT_FALSE(dialog.Enabled(kIdDeleteSize));

  dialog.Click(kIdDeleteSize);  // a click that still reaches the disabled button
  EXPECT_EQ(dialog.Entries(kIdSizeList), (Entries{"640x480"}));
  dialog.Finish();
  EXPECT_EQ(dialog.Setting("SizeList"), "640x480");
}

TEST(SizeChoice, PickingAnEntrySetsTheTargetSizeAndRedrawsOnce) {
  DialogHarness dialog;
  const int redraws = dialog.Redraws();
  dialog.Choose(kIdSizeList, "800x600");
  EXPECT_EQ(dialog.Settings().Width, 800);
  EXPECT_EQ(dialog.Settings().Height, 600);
  EXPECT_EQ(dialog.Redraws(), redraws + 1);
}

}  // namespace
