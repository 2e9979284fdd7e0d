// The horizontal table of a pass rewritten for the tile filters: every output column's source
// pixel pair and its coefficient pairs, padded with zero pairs to one count for all the columns,
// the largest of the table. The tile filters then run a column body unrolled for that count,
// chosen once per tile: a loop over each column's own count ends after three passes in one
// column and four in the next (Spline36 enlarging by 1.5), an exit the processor mispredicts
// often. A padding pair adds nothing to the sums; it reads the sample pairs after the column's
// last one, which the tile filters keep in their buffers (kMaxPairs - 1 of them past the row).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "common/WorkAreas.h"
#include "contracts/WeightTable.h"
#include "simd/ExactDivider.h"

namespace kernels::simd {

// Columns whose count is larger than this take the loop over their own count.
constexpr int32_t kMaxUniformPairs = 8;

// Calls body(std::integral_constant<int32_t, pairs>()) for pairs 1 .. kMaxUniformPairs, and
// body(std::integral_constant<int32_t, 0>()) for any other count.
template <int32_t N = 1, class Body>
[[gnu::always_inline]] inline void WithUniformPairs(int32_t pairs, const Body &body) {
  if constexpr (N > kMaxUniformPairs)
    body(std::integral_constant<int32_t, 0>());
  else if (pairs == N)
    body(std::integral_constant<int32_t, N>());
  else
    WithUniformPairs<N + 1>(pairs, body);
}

// body(j) for the pairs j of a column: kPairs of them unrolled, or (kPairs 0) `count` in a loop.
template <int32_t kPairs, class Body>
[[gnu::always_inline]] inline void ForEachPair(int32_t count, const Body &body) {
  if constexpr (kPairs > 0) {
#pragma GCC unroll 8
    for (int32_t j = 0; j < kPairs; ++j) body(j);
  } else {
    for (int32_t j = 0; j < count; ++j) body(j);
  }
}

template <int kPairCoeffs>
class UniformColumns {
 public:
  // A column as a column body takes it: its first source pixel pair, coefficients and count.
  struct Column {
    int32_t FirstPair;
    const int16_t *Coeffs;
    int32_t Count;
  };

  static int32_t Bytes(int32_t columns) {
    return RoundUpToSlice(static_cast<int64_t>(columns) *
                          (sizeof(int32_t) + kMaxUniformPairs * kPairCoeffs * sizeof(int16_t)));
  }

  // The `columns` entries of a horizontal table whose offsets are in `step` units of source
  // pixel pairs, rewritten into `buffer` of Bytes(columns). Pairs() is 0 when a column holds
  // more than kMaxUniformPairs pairs: then nothing is rewritten.
  UniformColumns(const WeightEntry *entries, int32_t columns, int32_t step, void *buffer)
      : pairs_(LargestCount(entries, columns)),
        firstPairs_(static_cast<int32_t *>(buffer)),
        coeffs_(reinterpret_cast<int16_t *>(firstPairs_ + columns)) {
    if (pairs_ > kMaxUniformPairs) {
      pairs_ = 0;
      return;
    }
    const ExactDivider pairOf(step);
    for (int32_t x = 0; x < columns; ++x) {
      const int32_t count = std::max(PairCount(entries[x].Coeffs), 0) * kPairCoeffs;
      int16_t *padded = coeffs_ + x * pairs_ * kPairCoeffs;
      std::memcpy(padded, entries[x].Coeffs, count * sizeof(int16_t));
      std::fill(padded + count, padded + pairs_ * kPairCoeffs, int16_t{0});
      firstPairs_[x] = pairOf.Divide(entries[x].Offset);
    }
  }

  // The count every column is padded to, or 0 (see the constructor).
  int32_t Pairs() const { return pairs_; }

  // Column x for the body of kPairs == Pairs(): padded from here; or, for kPairs 0, as the
  // table `entries` holds it, its offset divided by `pairOf`.
  template <int32_t kPairs>
  [[gnu::always_inline]] Column Get(const WeightEntry *entries, int32_t x,
                                    const ExactDivider &pairOf) const {
    if constexpr (kPairs > 0)
      return {firstPairs_[x], coeffs_ + x * kPairs * kPairCoeffs, kPairs};
    else
      return {pairOf.Divide(entries[x].Offset), entries[x].Coeffs, PairCount(entries[x].Coeffs)};
  }

 private:
  static int32_t LargestCount(const WeightEntry *entries, int32_t columns) {
    int32_t largest = 0;
    for (int32_t x = 0; x < columns; ++x) largest = std::max(largest, PairCount(entries[x].Coeffs));
    return largest;
  }

  int32_t pairs_;
  int32_t *firstPairs_;
  int16_t *coeffs_;
};

}  // namespace kernels::simd
