// Size entries: what counts as a size, how a typed size is brought into the list's form, and
// where a new one goes in the sorted list. The literals are compiled to code page 932.
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

// What a Japanese input method types is read as the half-width size; the result is always in
// the list's form.
TEST(NormalizedSizeText, AcceptsFullWidthFormsAndBlanksAroundTheNumbers) {
  const struct {
    const char *typed, *normalized;
  } cases[] = {
      {"640x480", "640x480"},
      {"640X480", "640x480"},
      {"６４０×４８０", "640x480"},
      {"６４０ｘ４８０", "640x480"},
      {"６４０Ｘ４８０", "640x480"},
      {"640×４８０", "640x480"},
      {" 640 x 480 ", "640x480"},
      {"\t640\tx\t480\r\n", "640x480"},
      {"　６４０　×　４８０　", "640x480"},
      {"+640x$1E0", "640x480"},  // the numbers follow the settings file's rules
      {"1920X1080", "1920x1080"},
  };
  for (const auto &c : cases) EXPECT_EQ(NormalizedSizeText(c.typed), c.normalized) << c.typed;
}

TEST(NormalizedSizeText, IsEmptyForTextsThatAreStillNoSize) {
  for (const char *typed : {"", "　", "640", "x480", "640x", "×480", "0x480", "６４０×０",
                            "-640x480", "6 40x480", "６４　０x480", "640x480px", "640x480x2",
                            "640*480", "６４０ｘ４８０ピクセル",
                            "640』480",  // 』 is 0x81 0x78: its second byte is an "x"
                            "640x480\x82"})  // ends inside a two-byte character
    EXPECT_EQ(NormalizedSizeText(typed), "") << typed;
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
