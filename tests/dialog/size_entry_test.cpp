// Size entries: what counts as a size, and where a new one goes in the sorted list.
#include <gtest/gtest.h>

#include <cstddef>
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

// The position among `entries`, and how many of them the search read.
size_t PositionIn(const std::vector<std::string> &entries, const SizeValue &size, size_t *reads = nullptr) {
  size_t count = 0;
  const size_t position = SortedInsertPosition(
      entries.size(), [&](size_t i) { ++count; return entries.at(i); }, size);
  if (reads) *reads = count;
  return position;
}

TEST(SortedInsertPosition, GoesBeforeTheFirstWiderOrAsWideAndAtLeastAsTallEntry) {
  const std::vector<std::string> entries{"320x240", "640x480", "800x600"};
  EXPECT_EQ(PositionIn(entries, {640, 360}), 1u);
  EXPECT_EQ(PositionIn(entries, {640, 480}), 1u);
  EXPECT_EQ(PositionIn(entries, {640, 481}), 2u);
  EXPECT_EQ(PositionIn(entries, {1920, 1080}), 3u);
  EXPECT_EQ(PositionIn({}, {1, 1}), 0u);
  // An entry that does not parse counts as 0 x 0 and stays in front.
  EXPECT_EQ(PositionIn({"bad", "800x600"}, {640, 480}), 1u);
}

// Thousands of sizes, many of them equal in width: each goes where the list stays sorted, and
// each search reads no more than about log2 of the list's length (a size list read from the
// settings file is built entry by entry).
TEST(SortedInsertPosition, KeepsLongListsSortedReadingFewEntries) {
  std::vector<std::string> entries;
  for (uint32_t i = 0; i < 5000; ++i) {
    const SizeValue size{static_cast<int32_t>(1 + (i * 7919u) % 640), static_cast<int32_t>(1 + (i * 104729u) % 480)};
    size_t reads = 0;
    const size_t position = PositionIn(entries, size, &reads);
    ASSERT_LE(reads, 14u);
    entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(position), FormatSize(size.Width, size.Height));
  }
  for (size_t i = 1; i < entries.size(); ++i) {
    const SizeValue before = ParseSize(entries[i - 1]), after = ParseSize(entries[i]);
    ASSERT_TRUE(before.Width < after.Width || (before.Width == after.Width && before.Height <= after.Height))
        << entries[i - 1] << " before " << entries[i];
  }
}

}  // namespace
