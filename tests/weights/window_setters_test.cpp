#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "BuiltTable.h"
#include "engine/TIndependentWeightSetter.h"
#include "engine/TNormalWeightSetter.h"
#include "support/TestWindowFunctions.h"

namespace {

constexpr int32_t kStep = 8;

EntryValues At(int32_t pairs, std::vector<int16_t> coeffs) { return {pairs * kStep, coeffs}; }

std::unique_ptr<TNormalWeightSetter> NormalSetter(const WindowFuncInfo &info, int32_t param = 3) {
  auto setter = std::make_unique<TNormalWeightSetter>();
  setter->SetWindowFunc(&info, param);
  return setter;
}

class WindowSetterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetWindowLogCalls();
    liveBefore_ = WindowLog().LiveInstances;
  }
  void TearDown() override { EXPECT_EQ(WindowLog().LiveInstances, liveBefore_); }

 private:
  int32_t liveBefore_ = 0;
};

using TNormalWeightSetterTest = WindowSetterTest;
using TIndependentWeightSetterTest = WindowSetterTest;

TEST_F(TNormalWeightSetterTest, EnlargingFourToEight) {
  auto setter = NormalSetter(TriangleRadius1());
  EXPECT_EQ(setter->WeightKind(), kSharedWeights);
  BuiltTable built(*setter, BuiltTable::Enlarge, 4, 8, kStep);
  const std::vector<EntryValues> expected = {
      At(0, {16384, 0}),       At(0, {12288, 4096}),    At(0, {4096, 12288}),
      At(0, {0, 12288, 4096, 0}), At(0, {0, 4096, 12288, 0}), At(1, {12288, 4096}),
      At(1, {4096, 12288}),    At(1, {0, 16384}),
  };
  EXPECT_EQ(built.AllValues(), expected);
  EXPECT_EQ(built.Entry(5).Coeffs, built.Entry(1).Coeffs);
  EXPECT_EQ(built.Entry(6).Coeffs, built.Entry(2).Coeffs);
  EXPECT_EQ(built.DistinctBlocks(), 6);
}

TEST_F(TNormalWeightSetterTest, ShrinkingEightToFour) {
  auto setter = NormalSetter(TriangleRadius1());
  BuiltTable built(*setter, BuiltTable::Shrink, 8, 4, kStep);
  const std::vector<EntryValues> expected = {
      At(0, {8192, 6144, 2048, 0}),
      At(0, {0, 2048, 6144, 6144, 2048, 0}),
      At(1, {0, 2048, 6144, 6144, 2048, 0}),
      At(2, {0, 2048, 6144, 8192}),
  };
  EXPECT_EQ(built.AllValues(), expected);
  EXPECT_EQ(built.Entry(2).Coeffs, built.Entry(1).Coeffs);
}

TEST_F(TNormalWeightSetterTest, ShrinkingThreeToTwoCorrectsTheTruncation) {
  auto setter = NormalSetter(TriangleRadius1());
  BuiltTable built(*setter, BuiltTable::Shrink, 3, 2, kStep);
  EXPECT_EQ(built.AllValues(),
            (std::vector<EntryValues>{At(0, {10923, 5461}), At(0, {0, 5461, 10923, 0})}));
}

TEST_F(TNormalWeightSetterTest, ASingleSourceSampleFeedsEveryOutput) {
  auto setter = NormalSetter(TriangleRadius3());
  BuiltTable built(*setter, BuiltTable::Enlarge, 1, 5, kStep);
  for (int32_t i = 0; i < 5; ++i) EXPECT_EQ(built.Values(i), At(0, {16384, 0})) << i;
  EXPECT_EQ(built.DistinctBlocks(), 1);
}

TEST_F(TNormalWeightSetterTest, EvaluatesEveryTapOnceInOutputAndTapOrder) {
  auto setter = NormalSetter(RecordingTriangle());
  ResetWindowLogCalls();
  {
    BuiltTable built(*setter, BuiltTable::Enlarge, 4, 8, kStep);
  }
  // Distances in source samples: even outputs sit 0.25 after a sample centre, odd ones 0.25
  // before one.
  std::vector<double> expected;
  for (int32_t i = 0; i < 8; ++i) {
    if (i % 2 == 0) expected.insert(expected.end(), {-0.75, 0.25});
    else expected.insert(expected.end(), {-0.25, 0.75});
  }
  ASSERT_EQ(WindowLog().Evaluations.size(), expected.size());
  for (size_t n = 0; n < expected.size(); ++n) EXPECT_EQ(WindowLog().Evaluations[n].T, expected[n]);

  ResetWindowLogCalls();
  {
    BuiltTable built(*setter, BuiltTable::Shrink, 8, 4, kStep);
  }
  // Shrinking measures in output samples: four taps at -0.75 .. 0.75 for every output.
  ASSERT_EQ(WindowLog().Evaluations.size(), 16u);
  for (size_t n = 0; n < 16; ++n) {
    EXPECT_EQ(WindowLog().Evaluations[n].T, -0.75 + 0.5 * (n % 4)) << n;
    EXPECT_NE(WindowLog().Evaluations[n].Instance, 0);
  }
  EXPECT_TRUE(WindowLog().RadiusQueries.empty());  // the radius was taken once, at set-up
}

TEST_F(TNormalWeightSetterTest, ARadiusBelowOneIsTakenAsOne) {
  auto zero = NormalSetter(ZeroRadiusTriangle());
  auto one = NormalSetter(TriangleRadius1());
  EXPECT_EQ(zero->Radius(), 1);
  for (auto operation : {BuiltTable::Enlarge, BuiltTable::Shrink}) {
    const int32_t srcLen = operation == BuiltTable::Enlarge ? 4 : 8;
    const int32_t dstLen = operation == BuiltTable::Enlarge ? 8 : 4;
    BuiltTable fromZero(*zero, operation, srcLen, dstLen, kStep);
    BuiltTable fromOne(*one, operation, srcLen, dstLen, kStep);
    EXPECT_EQ(fromZero.AllValues(), fromOne.AllValues());
  }
}

int32_t __cdecl HugeRadius(WindowFuncHandle) { return 0x40000000; }

TEST_F(TNormalWeightSetterTest, AnUnreasonableRadiusFailsAsExhaustedMemory) {
  // 2R x S would overflow 32 bits; the build must fail before allocating or evaluating.
  WindowFuncInfo huge = TriangleRadius1();
  huge.GetRadius = HugeRadius;
  auto setter = NormalSetter(huge);
  for (auto operation : {BuiltTable::Enlarge, BuiltTable::Shrink}) {
    WeightTable table{};
    const int32_t srcLen = operation == BuiltTable::Enlarge ? 4 : 8;
    const int32_t dstLen = operation == BuiltTable::Enlarge ? 8 : 4;
    if (operation == BuiltTable::Enlarge) {
      EXPECT_THROW(setter->SetEnlargeWeights(&table, srcLen, dstLen, kStep, -1), std::bad_alloc);
    } else {
      EXPECT_THROW(setter->SetShrinkWeights(&table, srcLen, dstLen, kStep, -1), std::bad_alloc);
    }
    EXPECT_EQ(table.Pool, nullptr);
    EXPECT_EQ(table.Entries, nullptr);
  }
}

TEST_F(TNormalWeightSetterTest, CancellingWeightsPutEverythingOnTheCentreSample) {
  auto setter = NormalSetter(CancellingWeights());
  BuiltTable built(*setter, BuiltTable::Enlarge, 4, 8, kStep);
  // Centres 0.25, 0.75, 1.25, ... lie in samples 0, 0, 1, 1, 2, 2, 3, 3.
  const std::vector<EntryValues> expected = {
      At(0, {16384, 0}),          At(0, {16384, 0}), At(0, {0, 16384}),
      At(0, {0, 16384, 0, 0}),    At(0, {0, 0, 16384, 0}), At(1, {16384, 0}),
      At(1, {0, 16384}),          At(1, {0, 16384}),
  };
  EXPECT_EQ(built.AllValues(), expected);
}

TEST_F(TNormalWeightSetterTest, AFailedCreateIsReportedAndItsHandleStillUsed) {
  TNormalWeightSetter setter;
  EXPECT_FALSE(setter.SetWindowFunc(&FailingCreate(), 7));
  EXPECT_EQ(WindowLog().CreateParams, (std::vector<int32_t>{7}));
  EXPECT_EQ(WindowLog().RadiusQueries, (std::vector<WindowFuncHandle>{0}));
  BuiltTable built(setter, BuiltTable::Enlarge, 4, 8, kStep);
  EXPECT_EQ(WindowLog().Evaluations.size(), 16u);
  EXPECT_EQ(WindowLog().Evaluations[0].Instance, 0);
  EXPECT_TRUE(setter.SetWindowFunc(&TriangleRadius1(), 3));
}

TEST_F(TNormalWeightSetterTest, ReplacingOrReleasingTheFunctionReleasesItsInstance) {
  const int32_t before = WindowLog().LiveInstances;
  auto setter = NormalSetter(TriangleRadius1(), 12);
  setter->SetWindowFunc(&TriangleRadius2(), 4);
  EXPECT_EQ(WindowLog().CreateParams, (std::vector<int32_t>{12, 4}));
  EXPECT_EQ(WindowLog().LiveInstances, before + 1);
  EXPECT_EQ(setter->Radius(), 2);
  setter->ReleaseWindowFuncs();
  setter->ReleaseWindowFuncs();  // nothing left to release
  EXPECT_EQ(WindowLog().LiveInstances, before);
  EXPECT_EQ(setter->FuncInfo(), nullptr);
  // Destroyed through the base: the fixture checks that this instance is released too.
  setter->SetWindowFunc(&TriangleRadius1(), 3);
  std::unique_ptr<TWeightSetter> asBase = std::move(setter);
}

// Kind-1 blocks as separate sets: pair j is luma 2j, luma 2j+1, chroma 2j, chroma 2j+1.
struct SeparateSets {
  std::vector<int16_t> Luma;
  std::vector<int16_t> Chroma;
};

SeparateSets Split(const std::vector<int16_t> &pairs) {
  SeparateSets sets;
  for (size_t n = 0; n < pairs.size(); n += 4) {
    sets.Luma.insert(sets.Luma.end(), {pairs[n], pairs[n + 1]});
    sets.Chroma.insert(sets.Chroma.end(), {pairs[n + 2], pairs[n + 3]});
  }
  return sets;
}

std::unique_ptr<TIndependentWeightSetter> IndependentSetter(const WindowFuncInfo &luma,
                                                            const WindowFuncInfo &chroma) {
  auto setter = std::make_unique<TIndependentWeightSetter>();
  setter->SetWindowFuncs(&luma, &chroma, 3, 5);
  return setter;
}

TEST_F(TIndependentWeightSetterTest, LumaAndChromaSetsShareTheWiderTapRange) {
  auto setter = IndependentSetter(TriangleRadius2(), TriangleRadius1());
  EXPECT_EQ(setter->WeightKind(), kSeparateWeights);
  EXPECT_EQ(setter->Radius(), 2);
  BuiltTable built(*setter, BuiltTable::Enlarge, 4, 8, kStep);
  EXPECT_EQ(built.Values(1, 4), At(0, {10240, 5120, 12288, 4096, 1024, 0, 0, 0}));
  // Every block's coefficients start 8-byte aligned, after a reserved word and PairCount.
  EXPECT_EQ(reinterpret_cast<const uint8_t *>(built.Entry(0).Coeffs),
            static_cast<const uint8_t *>(built.Table().Pool) + 8);
  for (int32_t i = 0; i < 8; ++i) {
    EXPECT_EQ(reinterpret_cast<uintptr_t>(built.Entry(i).Coeffs) % 8, 0u) << i;
  }
}

TEST_F(TIndependentWeightSetterTest, TheNarrowerFunctionIsZeroOverTheWiderRange) {
  auto setter = IndependentSetter(TriangleRadius3(), TriangleRadius1());
  BuiltTable built(*setter, BuiltTable::Enlarge, 8, 16, kStep);
  // Output 7: centre 3.75, taps 1 .. 6 from the odd position 1, so 4 pairs from position 0.
  const EntryValues v = built.Values(7, 4);
  EXPECT_EQ(v.Offset, 0);
  const SeparateSets sets = Split(v.Coeffs);
  EXPECT_EQ(sets.Chroma, (std::vector<int16_t>{0, 0, 0, 12288, 4096, 0, 0, 0}));
  ASSERT_EQ(sets.Luma.size(), 8u);
  EXPECT_EQ(sets.Luma[0], 0);
  EXPECT_EQ(sets.Luma[7], 0);
  for (int32_t m = 1; m <= 6; ++m) EXPECT_GT(sets.Luma[m], 0) << m;
}

TEST_F(TIndependentWeightSetterTest, EvaluatesLumaThenChromaAtEachTap) {
  TIndependentWeightSetter setter;
  EXPECT_TRUE(setter.SetWindowFuncs(&RecordingTriangle(), &RecordingTriangle(), 3, 9));
  EXPECT_EQ(WindowLog().CreateParams, (std::vector<int32_t>{3, 9}));
  ASSERT_EQ(WindowLog().RadiusQueries.size(), 2u);
  const WindowFuncHandle luma = WindowLog().RadiusQueries[0];
  const WindowFuncHandle chroma = WindowLog().RadiusQueries[1];
  EXPECT_NE(luma, chroma);
  ResetWindowLogCalls();
  BuiltTable built(setter, BuiltTable::Shrink, 8, 4, kStep);
  const auto &calls = WindowLog().Evaluations;
  ASSERT_EQ(calls.size(), 2u * 4 * 4);
  for (size_t n = 0; n < calls.size(); n += 2) {
    EXPECT_EQ(calls[n].Instance, luma);
    EXPECT_EQ(calls[n + 1].Instance, chroma);
    EXPECT_EQ(calls[n].T, calls[n + 1].T);
    EXPECT_EQ(calls[n].T, -0.75 + 0.5 * (n / 2 % 4));
  }
}

TEST_F(TIndependentWeightSetterTest, ReportsAFailedCreateOnEitherSide) {
  TIndependentWeightSetter setter;
  EXPECT_FALSE(setter.SetWindowFuncs(&TriangleRadius1(), &FailingCreate(), 1, 2));
  EXPECT_FALSE(setter.SetWindowFuncs(&FailingCreate(), &TriangleRadius1(), 1, 2));
  EXPECT_TRUE(setter.SetWindowFuncs(&TriangleRadius1(), &TriangleRadius3(), 1, 2));
  EXPECT_EQ(setter.Radius(), 3);
}

TEST_F(TIndependentWeightSetterTest, EachSetIsTheSingleFunctionTableOfTheSameRadius) {
  // Cancelling luma falls back to the centre sample; outputs 0 and 1 thus have the same luma
  // set but different chroma sets, so their blocks must not be shared.
  auto setter = IndependentSetter(CancellingWeights(), TriangleRadius1());
  auto luma = NormalSetter(CancellingWeights());
  auto chroma = NormalSetter(TriangleRadius1());
  for (auto operation : {BuiltTable::Enlarge, BuiltTable::Shrink}) {
    const int32_t srcLen = operation == BuiltTable::Enlarge ? 4 : 8;
    const int32_t dstLen = operation == BuiltTable::Enlarge ? 8 : 4;
    BuiltTable built(*setter, operation, srcLen, dstLen, kStep);
    BuiltTable lumaOnly(*luma, operation, srcLen, dstLen, kStep);
    BuiltTable chromaOnly(*chroma, operation, srcLen, dstLen, kStep);
    for (int32_t i = 0; i < dstLen; ++i) {
      const EntryValues v = built.Values(i, 4);
      const SeparateSets sets = Split(v.Coeffs);
      EXPECT_EQ((EntryValues{v.Offset, sets.Luma}), lumaOnly.Values(i)) << i;
      EXPECT_EQ((EntryValues{v.Offset, sets.Chroma}), chromaOnly.Values(i)) << i;
    }
  }
}

TEST_F(TIndependentWeightSetterTest, ReplacingOrReleasingTheFunctionsReleasesBothInstances) {
  const int32_t before = WindowLog().LiveInstances;
  auto setter = IndependentSetter(TriangleRadius1(), TriangleRadius2());
  setter->SetWindowFuncs(&TriangleRadius2(), &TriangleRadius1(), 1, 1);
  EXPECT_EQ(WindowLog().LiveInstances, before + 2);
  setter->ReleaseWindowFuncs();
  EXPECT_EQ(setter->LumaInfo(), nullptr);
  EXPECT_EQ(setter->ChromaInfo(), nullptr);
  EXPECT_EQ(WindowLog().LiveInstances, before);
  setter->SetWindowFuncs(&TriangleRadius1(), &TriangleRadius2(), 1, 1);
  std::unique_ptr<TWeightSetter> asBase = std::move(setter);
}

}  // namespace
