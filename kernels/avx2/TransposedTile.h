// What the AVX2 tile filters share: the arithmetic on transposed sample pairs. Transposed, one
// vector holds the same sample pair of kTileRows rows, a 32-bit lane per row, so a broadcast
// coefficient pair meets all the rows in one 16-bit multiply-add and an output column needs no
// sums across lanes.
#pragma once

#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "simd/TileRows.h"

namespace simd {

// One coefficient pair in every lane.
inline __m256i BroadcastPair(const int16_t *pair) {
  int32_t both;
  std::memcpy(&both, pair, sizeof(both));
  return _mm256_set1_epi32(both);
}

// sums + (transposed pair j) x (coefficient pair j) for the `count` pairs of a block.
inline __m256i DotTransposed(__m256i sums, const __m256i *pairs, const int16_t *coeffs,
                             int32_t count, int pairCoeffs) {
  for (int32_t j = 0; j < count; ++j)
    sums = _mm256_add_epi32(sums, _mm256_madd_epi16(_mm256_load_si256(pairs + j),
                                                    BroadcastPair(coeffs + j * pairCoeffs)));
  return sums;
}

// (sum + 8192) >> 14 of every lane.
inline __m256i DescaleRows(__m256i sums) {
  return _mm256_srai_epi32(_mm256_add_epi32(sums, _mm256_set1_epi32(8192)), 14);
}

}  // namespace simd
