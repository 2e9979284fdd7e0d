#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/WeightQuantizer.h"

namespace {

std::vector<int16_t> Quantize(const std::vector<double> &weights, int32_t fallbackSlot = 0) {
  const int32_t count = static_cast<int32_t>(weights.size());
  std::vector<int16_t> coefficients(count, 0x5555);
  std::vector<TapRemainder> work(count);
  std::vector<TapRemainder *> sortList;
  QuantizeWeights(weights.data(), coefficients.data(), sortList, count, work.data(),
                  fallbackSlot);
  return coefficients;
}

using Coeffs = std::vector<int16_t>;

TEST(QuantizeWeights, ExactQuotientsNeedNoCorrection) {
  EXPECT_EQ(Quantize({1, 1}), (Coeffs{8192, 8192}));
}

TEST(QuantizeWeights, TheSortDecidesWhichEqualTapIsRoundedUp) {
  EXPECT_EQ(Quantize({1, 1, 1}), (Coeffs{5462, 5461, 5461}));
  // The padding zero changes the sort's steps, and with them the tap that gains the unit.
  EXPECT_EQ(Quantize({1, 1, 1, 0}), (Coeffs{5461, 5462, 5461, 0}));
  EXPECT_EQ(Quantize({1, 1, 1, 1, 1, 1, 1}), (Coeffs{2341, 2341, 2341, 2341, 2340, 2340, 2340}));
}

TEST(QuantizeWeights, TiesAmongSymmetricTapsFollowTheSortsExactSteps) {
  // A different pivot or a stable sort would round up the other one of each equal pair.
  EXPECT_EQ(Quantize({1, 3, 2, 3, 1}), (Coeffs{1638, 4915, 3277, 4915, 1639}));
  EXPECT_EQ(Quantize({1, 2, 3, 0, 1}), (Coeffs{2340, 4681, 7022, 0, 2341}));
  EXPECT_EQ(Quantize({1, 2, 3, 4, 5, 4, 3, 2, 1}),
            (Coeffs{655, 1311, 1966, 2622, 3277, 2621, 1966, 1311, 655}));
}

TEST(QuantizeWeights, LargestRemaindersAreRoundedUp) {
  EXPECT_EQ(Quantize({1, 2, 3}), (Coeffs{2731, 5461, 8192}));
}

TEST(QuantizeWeights, AnExcessIsTakenFromTheSmallestRemainders) {
  // Truncation gives (-100, -100, 16585): one unit too many, taken from tap 1.
  EXPECT_EQ(Quantize({-100.6, -100.6, 16585.2}), (Coeffs{-100, -101, 16585}));
}

TEST(QuantizeWeights, EmptiesTheSortListFirst) {
  std::vector<double> weights{1, 1, 1};
  std::vector<int16_t> coefficients(3);
  std::vector<TapRemainder> work(3);
  TapRemainder stale{0.9, 2};
  std::vector<TapRemainder *> sortList{&stale, &stale};
  QuantizeWeights(weights.data(), coefficients.data(), sortList, 3, work.data(), 0);
  EXPECT_EQ(coefficients, (Coeffs{5462, 5461, 5461}));
  EXPECT_EQ(sortList.size(), 3u);
}

TEST(QuantizeWeights, WeightsSummingToZeroGoAllToTheFallbackSlot) {
  EXPECT_EQ(Quantize({0, 0, 0, 0}, 2), (Coeffs{0, 0, 16384, 0}));
  EXPECT_EQ(Quantize({1, -1, 0.5, -0.5}, 1), (Coeffs{0, 16384, 0, 0}));
}

TEST(QuantizeWeights, NonFiniteWeightsGoAllToTheFallbackSlot) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(Quantize({0.5, nan}, 0), (Coeffs{16384, 0}));
  EXPECT_EQ(Quantize({inf, 1.0}, 1), (Coeffs{0, 16384}));
  EXPECT_EQ(Quantize({1e308, 1e308}, 0), (Coeffs{16384, 0}));  // the sum overflows
}

TEST(QuantizeWeights, WeightsBeyondSixteenBitsGoAllToTheFallbackSlot) {
  // Nearly cancelling weights scale far beyond what a coefficient can hold.
  EXPECT_EQ(Quantize({1e6, -1e6 + 1, 0}, 2), (Coeffs{0, 0, 16384}));
  // 2.0 of the sum would be 32768, one more than a coefficient holds.
  EXPECT_EQ(Quantize({2, -1}, 0), (Coeffs{16384, 0}));
  // 32767.6 truncates to the maximum, and the deficit would round it up past it.
  EXPECT_EQ(Quantize({32767.6 / 16384, 0.4 / 16384, -1.0}, 1), (Coeffs{0, 16384, 0}));
  // -32767.6 truncates to -32767 and is rounded down to the minimum, which still fits.
  EXPECT_EQ(Quantize({-32767.6 / 16384, -0.4 / 16384, 1.5, 1.5}, 2),
            (Coeffs{-32768, 0, 24576, 24576}));
}

}  // namespace
