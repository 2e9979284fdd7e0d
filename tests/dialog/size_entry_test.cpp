// Size entries: what counts as a size, and where a new one goes in the sorted list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog/SizeEntry.h"

namespace {

void ExpectSize(const std::string &text, int32_t width, int32_t height) {
  const SizeValue size = ParseSize(text);
  EXPECT_EQ(size.Width, width) << text;
  EXPECT_EQ(size.Height, height) << text;
}

TEST(ParseSize, ReadsWidthAndHeightAroundTheFirstLowerCaseX) {
  ExpectSize("640x480", 640, 480);
  ExpectSize("+640x$1E0", 640, 480);  // the numbers follow the settings file's rules
  ExpectSize("640xx10", 640, 16);     // the height "x10" is hexadecimal
}

TEST(ParseSize, RefusesTextsThatAreNoSize) {
  for (const char *text : {"", "640", "x480", "640x", "0x480", "640x0", "-640x480", "640X480",
                           "640 x 480", "640x480px", "4294967296x1"})
    ExpectSize(text, 0, 0);
}

TEST(SortedInsertPosition, GoesBeforeTheFirstWiderOrAsWideAndAtLeastAsTallEntry) {
  const std::vector<std::string> entries{"320x240", "640x480", "800x600"};
  EXPECT_EQ(SortedInsertPosition(entries, {640, 360}), 1u);
  EXPECT_EQ(SortedInsertPosition(entries, {640, 480}), 1u);
  EXPECT_EQ(SortedInsertPosition(entries, {640, 481}), 2u);
  EXPECT_EQ(SortedInsertPosition(entries, {1920, 1080}), 3u);
  EXPECT_EQ(SortedInsertPosition({}, {1, 1}), 0u);
  // An entry that does not parse counts as 0 x 0 and stays in front.
  EXPECT_EQ(SortedInsertPosition({"bad", "800x600"}, {640, 480}), 1u);
}

}  // namespace
