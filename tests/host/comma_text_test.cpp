// Comma text and number rules shared by the settings file and the configuration dialog.
#include "host/CommaText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Items = std::vector<std::string>;

TEST(SplitCommaText, CommasBlanksAndBothTogetherSeparateItems) {
  EXPECT_EQ(SplitCommaText("1,5,7"), (Items{"1", "5", "7"}));
  EXPECT_EQ(SplitCommaText("1, 5, 7"), (Items{"1", "5", "7"}));
  EXPECT_EQ(SplitCommaText("1 5 7"), (Items{"1", "5", "7"}));
  EXPECT_EQ(SplitCommaText("  1\t,\x01" "5 ,7  "), (Items{"1", "5", "7"}));
}

TEST(SplitCommaText, EmptyItemsBetweenAndAtTheEnds) {
  EXPECT_EQ(SplitCommaText(""), Items{});
  EXPECT_EQ(SplitCommaText("   "), Items{});
  EXPECT_EQ(SplitCommaText("1,5,7,"), (Items{"1", "5", "7", ""}));
  EXPECT_EQ(SplitCommaText("1,,7"), (Items{"1", "", "7"}));
  EXPECT_EQ(SplitCommaText(",7"), (Items{"", "7"}));
  EXPECT_EQ(SplitCommaText(","), (Items{"", ""}));
  // Only a comma that ends the text adds the empty item; blanks after it are dropped first.
  EXPECT_EQ(SplitCommaText("1,5, "), (Items{"1", "5"}));
}

TEST(SplitCommaText, QuotedItemsKeepCommasBlanksAndDoubledQuotes) {
  EXPECT_EQ(SplitCommaText("\"a, b\",c"), (Items{"a, b", "c"}));
  EXPECT_EQ(SplitCommaText("\"say \"\"hi\"\"\""), (Items{"say \"hi\""}));
  EXPECT_EQ(SplitCommaText("\"\""), (Items{""}));
  EXPECT_EQ(SplitCommaText("\"open, never closed"), (Items{"open, never closed"}));
  EXPECT_EQ(SplitCommaText("\"ab\"cd"), (Items{"ab", "cd"}));
}

TEST(SplitCommaText, DoubleByteTextIsNotTakenForBlanks) {
  // "半径" in code page 932: every byte is 0x80 or above.
  const std::string radius = "\x94\xBC\x8C\x61";
  EXPECT_EQ(SplitCommaText(radius + "," + radius), (Items{radius, radius}));
}

TEST(JoinCommaText, QuotesOnlyItemsThatNeedIt) {
  EXPECT_EQ(JoinCommaText({"640x480", "1280x720"}), "640x480,1280x720");
  EXPECT_EQ(JoinCommaText({"a,b", "say \"hi\"", "two words", "tab\there"}),
            "\"a,b\",\"say \"\"hi\"\"\",\"two words\",\"tab\there\"");
  EXPECT_EQ(JoinCommaText({}), "");
  EXPECT_EQ(JoinCommaText({""}), "\"\"");
  EXPECT_EQ(JoinCommaText({"", "x"}), ",x");
}

TEST(JoinCommaText, SplitGivesTheItemsBack) {
  const std::vector<Items> lists = {
      {"640x480"}, {""}, {"a", "", "b"}, {" lead", "trail ", "\"q\"", "x,y"}, {"\x94\xBC", "\x8C\x61"}};
  for (const Items &items : lists) EXPECT_EQ(SplitCommaText(JoinCommaText(items)), items);
}

TEST(ParseNumber, DecimalWithOptionalSignWithinInt32) {
  EXPECT_EQ(ParseNumber("5"), 5);
  EXPECT_EQ(ParseNumber("+5"), 5);
  EXPECT_EQ(ParseNumber("-5"), -5);
  EXPECT_EQ(ParseNumber("007"), 7);
  EXPECT_EQ(ParseNumber("2147483647"), 2147483647);
  EXPECT_EQ(ParseNumber("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseNumber("2147483648"), std::nullopt);
  EXPECT_EQ(ParseNumber("-2147483649"), std::nullopt);
  EXPECT_EQ(ParseNumber("99999999999999999999"), std::nullopt);
}

TEST(ParseNumber, HexadecimalAfterEachPrefix) {
  EXPECT_EQ(ParseNumber("$1F"), 31);
  EXPECT_EQ(ParseNumber("x1f"), 31);
  EXPECT_EQ(ParseNumber("X1F"), 31);
  EXPECT_EQ(ParseNumber("0x1F"), 31);
  EXPECT_EQ(ParseNumber("0X1f"), 31);
  EXPECT_EQ(ParseNumber("-$10"), -16);
  EXPECT_EQ(ParseNumber("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseNumber("$100000000"), std::nullopt);
}

TEST(ParseNumber, AnythingElseIsNoNumber) {
  for (const char *text : {"", "-", "+", "$", "0x", "x", "on", "1.5", "5 ", "1e3", "--5", "$G", "12a"})
    EXPECT_EQ(ParseNumber(text), std::nullopt) << text;
  EXPECT_EQ(NumberOr("on", 1), 1);
  EXPECT_EQ(NumberOr("0", 1), 0);
}

}  // namespace
