#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "engine/BlockPool.h"
#include "engine/SharedBlocks.h"

namespace {

// Blocks as 32-bit words: PairCount, then the pairs.
TEST(FindSharedBlock, RegistersANewBlockAndReturnsIt) {
  std::vector<const int32_t *> list;
  const int32_t block[] = {1, 0x4000};
  EXPECT_EQ(FindSharedBlock(list, block, 1), block);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0], block);
}

TEST(FindSharedBlock, ReturnsTheFirstIdenticalRegisteredBlock) {
  const int32_t a[] = {2, 7, 8};
  const int32_t b[] = {2, 7, 9};
  const int32_t c[] = {2, 7, 9};
  std::vector<const int32_t *> list{a, b, c};
  const int32_t fresh[] = {2, 7, 9};
  EXPECT_EQ(FindSharedBlock(list, fresh, 1), b);
  EXPECT_EQ(list.size(), 3u);
}

TEST(FindSharedBlock, ComparesPairCountAndEveryWordOfEachPair) {
  const int32_t oneWordPairs[] = {2, 1, 2};
  const int32_t twoWordPairs[] = {1, 1, 2};
  std::vector<const int32_t *> list{oneWordPairs, twoWordPairs};
  // Same words but a different PairCount never matches.
  const int32_t otherCount[] = {1, 1, 2};
  EXPECT_EQ(FindSharedBlock(list, otherCount, 2), twoWordPairs);
  // With two words per pair the second word of the pair counts.
  const int32_t differsInSecondWord[] = {1, 1, 3};
  std::vector<const int32_t *> separate{twoWordPairs};
  EXPECT_EQ(FindSharedBlock(separate, differsInSecondWord, 2), differsInSecondWord);
  EXPECT_EQ(separate.size(), 2u);
}

TEST(FindSharedBlock, NeverReadsPastARegisteredBlocksPairs) {
  // The words after a block's last pair are not part of it.
  const int32_t registered[] = {1, 5, 111};
  const int32_t fresh[] = {1, 5, 222};
  std::vector<const int32_t *> list{registered};
  EXPECT_EQ(FindSharedBlock(list, fresh, 1), registered);
}

TEST(BlockPool, DropsARepeatedBlockAndWritesTheNextOneOverIt) {
  alignas(8) int32_t pool[16] = {};
  BlockPool blocks(pool, 4, 1);
  int16_t *first = blocks.Open(1);
  first[0] = 16384;
  first[1] = 0;
  EXPECT_EQ(blocks.Close(), first);
  int16_t *repeat = blocks.Open(1);
  repeat[0] = 16384;
  repeat[1] = 0;
  EXPECT_EQ(blocks.Close(), first);
  int16_t *next = blocks.Open(1);
  EXPECT_EQ(next, repeat);  // the dropped copy's place
  // First block: reserved, PairCount, pair; then the next block's reserved word and PairCount.
  EXPECT_EQ(reinterpret_cast<int32_t *>(next), pool + 5);
}

}  // namespace
