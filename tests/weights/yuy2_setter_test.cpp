#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "BuiltTable.h"
#include "engine/TIndependentWeightSetter.h"
#include "engine/TNormalWeightSetter.h"
#include "engine/TYUY2WeightSetter.h"
#include "support/TestWindowFunctions.h"

namespace {

constexpr int32_t kStep = 8;  // HStep in YUY2 mode

EntryValues At(int32_t pairs, std::vector<int16_t> coeffs) { return {pairs * kStep, coeffs}; }

std::unique_ptr<TYUY2WeightSetter> Setter(const WindowFuncInfo &luma,
                                          const WindowFuncInfo &chroma) {
  auto setter = std::make_unique<TYUY2WeightSetter>();
  setter->SetWindowFuncs(&luma, &chroma, 3, 3);
  return setter;
}

// A YUY2 horizontal table: three entries per output pixel pair.
class HorizontalTable : public BuiltTable {
 public:
  HorizontalTable(TWeightSetter &setter, Operation operation, int32_t srcLen, int32_t dstLen)
      : BuiltTable(setter, operation, srcLen, dstLen, kStep, -1, 3 * dstLen / 2) {}
};

class TYUY2WeightSetterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWindowLogCalls();
    liveBefore_ = WindowLog().LiveInstances;
  }
  void TearDown() override { EXPECT_EQ(WindowLog().LiveInstances, liveBefore_); }

 private:
  int32_t liveBefore_ = 0;
};

TEST_F(TYUY2WeightSetterTest, EnlargingFourToEight) {
  auto setter = Setter(TriangleRadius1(), TriangleRadius1());
  EXPECT_EQ(setter->WeightKind(), kSeparateWeights);
  HorizontalTable built(*setter, BuiltTable::Enlarge, 4, 8);
  const std::vector<EntryValues> expected = {
      At(0, {16384, 0}),           // luma 0: A
      At(0, {12288, 4096}),        // luma 1: B
      At(0, {16384, 0}),           // chroma 0: A
      At(0, {4096, 12288}),        // luma 2: C
      At(0, {0, 12288, 4096, 0}),  // luma 3: D
      At(0, {16384, 0}),           // chroma 1: A, the half weight of position 1 folded back
      At(0, {0, 4096, 12288, 0}),  // luma 4: E
      At(1, {12288, 4096}),        // luma 5: B
      At(0, {2048, 14336}),        // chroma 2: F
      At(1, {4096, 12288}),        // luma 6: C
      At(1, {0, 16384}),           // luma 7: G
      At(0, {0, 16384}),           // chroma 3: G, the line's last chroma sample alone
  };
  EXPECT_EQ(built.AllValues(), expected);
  const auto same = [&](int32_t a, int32_t b) { return built.Entry(a).Coeffs == built.Entry(b).Coeffs; };
  EXPECT_TRUE(same(2, 0));
  EXPECT_TRUE(same(5, 0));
  EXPECT_TRUE(same(7, 1));
  EXPECT_TRUE(same(9, 3));
  EXPECT_TRUE(same(11, 10));
  EXPECT_EQ(built.DistinctBlocks(), 7);
  // Seven blocks, each after a reserved word: five of one pair, two of two pairs.
  EXPECT_EQ(built.PoolBytesUsed(2), 5u * 12 + 2u * 16);
}

TEST_F(TYUY2WeightSetterTest, ShrinkingEightToFour) {
  auto setter = Setter(TriangleRadius1(), TriangleRadius1());
  HorizontalTable built(*setter, BuiltTable::Shrink, 8, 4);
  const std::vector<EntryValues> expected = {
      At(0, {8192, 6144, 2048, 0}),
      At(0, {0, 2048, 6144, 6144, 2048, 0}),
      At(0, {6144, 7680, 2560, 0}),  // chroma 0: columns 0 and 1 combined
      At(1, {0, 2048, 6144, 6144, 2048, 0}),
      At(2, {0, 2048, 6144, 8192}),
      At(0, {0, 512, 5632, 10240}),  // chroma 1: the weight past chroma sample 3 folded onto it
  };
  EXPECT_EQ(built.AllValues(), expected);
}

TEST_F(TYUY2WeightSetterTest, ChromaTapsBeforeTheLineAreNotHalved) {
  auto setter = Setter(TriangleRadius1(), TriangleRadius3());
  HorizontalTable built(*setter, BuiltTable::Enlarge, 8, 16);
  // Pair 0: centre 0.25, taps -3 .. 2. Taps -3 .. 0 add undivided onto chroma sample 0, tap 1
  // halves between samples 0 and 1: slots (7.375, 1.625) / 3.
  EXPECT_EQ(built.Values(2), At(0, {13426, 2958}));
}

TEST_F(TYUY2WeightSetterTest, EachSideUsesItsOwnRadius) {
  auto setter = Setter(TriangleRadius2(), TriangleRadius3());
  EXPECT_EQ(setter->Radius(), 3);  // what the vertical tables use for both sets
  HorizontalTable built(*setter, BuiltTable::Enlarge, 16, 32);
  for (int32_t q = 3; q < 13; ++q) {
    const int32_t column = 2 * q;
    // Luma: 4 taps, so 2 pairs from an even first position, 3 from an odd one.
    const double lumaCentre = (column + 0.5) / 2;
    const int32_t lumaFirst = static_cast<int32_t>(std::floor(lumaCentre - 1.5));
    EXPECT_EQ(PairCount(built.Entry(3 * q).Coeffs), lumaFirst % 2 == 0 ? 2 : 3) << q;
    // Chroma: 6 taps j .. j + 5 cover 3 chroma samples when j is even, 4 when it is odd.
    const int32_t j = static_cast<int32_t>(std::floor(lumaCentre - 2.5));
    int32_t covered = 0;
    for (int16_t c : built.Values(3 * q + 2).Coeffs) covered += c != 0;
    EXPECT_EQ(covered, j % 2 == 0 ? 3 : 4) << q;
  }
}

TEST_F(TYUY2WeightSetterTest, EnlargingWithLumaRadiusThreeGivesThreeOrFourPairs) {
  auto setter = Setter(TriangleRadius3(), TriangleRadius1());
  HorizontalTable built(*setter, BuiltTable::Enlarge, 16, 32);
  for (int32_t column = 8; column < 24; ++column) {
    const int32_t n = column + column / 2;  // entry of the column's luma
    const int32_t first = static_cast<int32_t>(std::floor((column + 0.5) / 2 - 2.5));
    const EntryValues v = built.Values(n);
    if (first % 2 == 0) {
      EXPECT_EQ(v.Coeffs.size(), 6u) << column;
    } else {
      ASSERT_EQ(v.Coeffs.size(), 8u) << column;
      EXPECT_EQ(v.Coeffs.front(), 0) << column;
      EXPECT_EQ(v.Coeffs.back(), 0) << column;
    }
  }
}

TEST_F(TYUY2WeightSetterTest, LumaEntriesMatchTheSingleFunctionTable) {
  auto setter = Setter(TriangleRadius2(), TriangleRadius1());
  TNormalWeightSetter normal;
  normal.SetWindowFunc(&TriangleRadius2(), 3);
  for (auto operation : {BuiltTable::Enlarge, BuiltTable::Shrink}) {
    const int32_t srcLen = operation == BuiltTable::Enlarge ? 10 : 26;
    const int32_t dstLen = operation == BuiltTable::Enlarge ? 26 : 10;
    HorizontalTable yuy2(*setter, operation, srcLen, dstLen);
    BuiltTable single(normal, operation, srcLen, dstLen, kStep);
    for (int32_t i = 0; i < dstLen; ++i) {
      EXPECT_EQ(yuy2.Values(i + i / 2), single.Values(i)) << i;
    }
  }
}

TEST_F(TYUY2WeightSetterTest, EntriesComeAsLumaLumaChromaPerPair) {
  TYUY2WeightSetter setter;
  setter.SetWindowFuncs(&RecordingTriangle(), &RecordingTriangle(), 1, 2);
  const WindowFuncHandle luma = WindowLog().RadiusQueries[0];
  const WindowFuncHandle chroma = WindowLog().RadiusQueries[1];
  ResetWindowLogCalls();
  // An odd width: the last column has a luma entry and no chroma entry.
  HorizontalTable built(setter, BuiltTable::Enlarge, 4, 7);
  // Each build asks for the luma radius, then the chroma radius.
  EXPECT_EQ(WindowLog().RadiusQueries, (std::vector<WindowFuncHandle>{luma, chroma}));
  std::vector<WindowFuncHandle> blockOrder;
  const auto &calls = WindowLog().Evaluations;
  ASSERT_EQ(calls.size(), 7u * 2 + 3u * 2);
  for (size_t n = 0; n < calls.size(); n += 2) {
    EXPECT_EQ(calls[n].Instance, calls[n + 1].Instance);
    blockOrder.push_back(calls[n].Instance);
  }
  const std::vector<WindowFuncHandle> expected = {luma, luma, chroma, luma, luma, chroma,
                                                  luma, luma, chroma, luma};
  EXPECT_EQ(blockOrder, expected);
  EXPECT_EQ(built.EntryCount(), 10);
}

TEST_F(TYUY2WeightSetterTest, ShrinkingChromaEvaluatesBothColumnsRuns) {
  TYUY2WeightSetter setter;
  setter.SetWindowFuncs(&TriangleRadius1(), &RecordingTriangle(), 1, 2);
  ResetWindowLogCalls();
  HorizontalTable built(setter, BuiltTable::Shrink, 8, 4);
  // Two pairs, each with two runs of four taps; column 2q's run first.
  const std::vector<double> run = {-0.75, -0.25, 0.25, 0.75};
  const auto &calls = WindowLog().Evaluations;
  ASSERT_EQ(calls.size(), 16u);
  for (size_t n = 0; n < calls.size(); ++n) EXPECT_EQ(calls[n].T, run[n % 4]) << n;
}

TEST_F(TYUY2WeightSetterTest, CancellingChromaGoesToTheChromaUnderThePair) {
  auto setter = Setter(TriangleRadius1(), CancellingWeights());
  HorizontalTable built(*setter, BuiltTable::Enlarge, 4, 8);
  // Pairs 0 .. 3 start at source samples 0, 1, 2, 3: chroma samples 0, 0, 1, 1.
  EXPECT_EQ(built.Values(2), At(0, {16384, 0}));
  EXPECT_EQ(built.Values(5), At(0, {16384, 0}));
  EXPECT_EQ(built.Values(8), At(0, {0, 16384}));
  EXPECT_EQ(built.Values(11), At(0, {0, 16384}));
}

TEST_F(TYUY2WeightSetterTest, VerticalTablesAreThoseOfTheIndependentSetter) {
  auto yuy2 = Setter(TriangleRadius2(), TriangleRadius1());
  TIndependentWeightSetter independent;
  independent.SetWindowFuncs(&TriangleRadius2(), &TriangleRadius1(), 3, 3);
  for (auto operation : {BuiltTable::Enlarge, BuiltTable::Shrink}) {
    const int32_t srcLen = operation == BuiltTable::Enlarge ? 7 : 19;
    const int32_t dstLen = operation == BuiltTable::Enlarge ? 19 : 7;
    BuiltTable vertical(*yuy2, operation, srcLen, dstLen, 1440, 0);
    BuiltTable reference(independent, operation, srcLen, dstLen, 1440, 0);
    EXPECT_EQ(vertical.AllValues(4), reference.AllValues(4));
    EXPECT_EQ(vertical.DistinctBlocks(), reference.DistinctBlocks());
  }
}

}  // namespace
