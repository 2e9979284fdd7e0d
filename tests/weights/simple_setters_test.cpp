#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "BuiltTable.h"
#include "engine/TAreaAverage.h"
#include "engine/TNearestNeighbor.h"

namespace {

constexpr int32_t kStep = 48;

struct NearestCase {
  int32_t SrcLen;
  int32_t DstLen;
  std::vector<int32_t> Samples;  // the source sample each output takes
};

// The block an entry must use for source sample s: E (16384, 0) for even s, O (0, 16384) for odd.
void ExpectNearestNeighbourTable(const BuiltTable &built, const NearestCase &c) {
  const auto *pool = static_cast<const uint8_t *>(built.Table().Pool);
  for (int32_t i = 0; i < c.DstLen; ++i) {
    const int32_t s = c.Samples[i];
    EXPECT_EQ(built.Entry(i).Offset, s / 2 * kStep) << "output " << i;
    const uint8_t *expected = pool + (s % 2 == 0 ? 4 : 12);
    EXPECT_EQ(reinterpret_cast<const uint8_t *>(built.Entry(i).Coeffs), expected) << "output " << i;
  }
}

void ExpectFixedBlocks(const BuiltTable &built) {
  const auto *words = static_cast<const int32_t *>(built.Table().Pool);
  const auto *halves = static_cast<const int16_t *>(built.Table().Pool);
  EXPECT_EQ(words[0], 1);
  EXPECT_EQ(halves[2], 16384);
  EXPECT_EQ(halves[3], 0);
  EXPECT_EQ(words[2], 1);
  EXPECT_EQ(halves[6], 0);
  EXPECT_EQ(halves[7], 16384);
}

const NearestCase kNearestCases[] = {
    {3, 6, {0, 0, 1, 1, 2, 2}},
    {6, 4, {0, 2, 3, 5}},
    {2, 1, {1}},
};

TEST(TNearestNeighbor, TakesTheSampleUnderEachOutputsCentre) {
  TNearestNeighbor setter;
  EXPECT_EQ(setter.WeightKind(), kSharedWeights);
  for (const NearestCase &c : kNearestCases) {
    const auto operation = c.DstLen > c.SrcLen ? BuiltTable::Enlarge : BuiltTable::Shrink;
    BuiltTable built(setter, operation, c.SrcLen, c.DstLen, kStep);
    ExpectFixedBlocks(built);
    ExpectNearestNeighbourTable(built, c);
  }
}

TEST(TAreaAverage, EnlargingBuildsTheNearestNeighbourTable) {
  TAreaAverage setter;
  EXPECT_EQ(setter.WeightKind(), kSharedWeights);
  BuiltTable built(setter, BuiltTable::Enlarge, 3, 6, kStep);
  ExpectFixedBlocks(built);
  ExpectNearestNeighbourTable(built, kNearestCases[0]);
}

using Coeffs = std::vector<int16_t>;

TEST(TAreaAverage, HalvingSharesOneBlockOfTwoHalves) {
  TAreaAverage setter;
  BuiltTable built(setter, BuiltTable::Shrink, 4, 2, kStep);
  EXPECT_EQ(built.Values(0), (EntryValues{0, {8192, 8192}}));
  EXPECT_EQ(built.Values(1), (EntryValues{kStep, {8192, 8192}}));
  EXPECT_EQ(built.Entry(0).Coeffs, built.Entry(1).Coeffs);
}

TEST(TAreaAverage, TruncatedFractionsAreNotNormalised) {
  TAreaAverage setter;
  BuiltTable built(setter, BuiltTable::Shrink, 3, 2, kStep);
  EXPECT_EQ(built.Values(0), (EntryValues{0, {10922, 5461}}));
  // Output 1 starts at the odd sample 1: a leading zero, and a trailing one to fill the pair.
  EXPECT_EQ(built.Values(1), (EntryValues{0, {0, 5461, 10922, 0}}));
  // Blocks are packed: the second follows the first's last pair.
  EXPECT_EQ(reinterpret_cast<const uint8_t *>(built.Entry(0).Coeffs),
            static_cast<const uint8_t *>(built.Table().Pool) + 4);
  EXPECT_EQ(built.Entry(1).Coeffs, built.Entry(0).Coeffs + 2 + 2);
}

TEST(TAreaAverage, PaddingMayStandForThePositionPastTheEnd) {
  TAreaAverage setter;
  BuiltTable built(setter, BuiltTable::Shrink, 5, 2, kStep);
  EXPECT_EQ(built.Values(0), (EntryValues{0, {6553, 6553, 3276, 0}}));
  EXPECT_EQ(built.Values(1), (EntryValues{kStep, {3276, 6553, 6553, 0}}));
}

TEST(TAreaAverage, LongAxesDoNotOverflowTheCellArithmetic) {
  // S x D is beyond 31 bits here; every output must still cover about one sample.
  TAreaAverage setter;
  const int32_t srcLen = 50000, dstLen = 49999;
  BuiltTable built(setter, BuiltTable::Shrink, srcLen, dstLen, 1);
  for (int32_t i = 0; i < dstLen; i += 997) {
    const EntryValues v = built.Values(i);
    int32_t sum = 0;
    for (int16_t c : v.Coeffs) sum += c;
    EXPECT_GE(sum, 16384 - 3) << "output " << i;
    EXPECT_LE(sum, 16384) << "output " << i;
    // Output i starts at sample i x S div D.
    EXPECT_EQ(v.Offset, static_cast<int32_t>(int64_t{srcLen} * i / dstLen) / 2) << "output " << i;
  }
}

}  // namespace
