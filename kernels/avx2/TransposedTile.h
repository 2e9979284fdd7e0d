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

// The lane transpose of simd/LaneTranspose.h within each 128-bit half: rows[i] holds row i in
// its low half and row i + 4 in its high half, and so does every result.
inline void TransposeLanes(__m256i (&rows)[4]) {
  const __m256i lanes01of01 = _mm256_unpacklo_epi32(rows[0], rows[1]);
  const __m256i lanes23of01 = _mm256_unpackhi_epi32(rows[0], rows[1]);
  const __m256i lanes01of23 = _mm256_unpacklo_epi32(rows[2], rows[3]);
  const __m256i lanes23of23 = _mm256_unpackhi_epi32(rows[2], rows[3]);
  rows[0] = _mm256_unpacklo_epi64(lanes01of01, lanes01of23);
  rows[1] = _mm256_unpackhi_epi64(lanes01of01, lanes01of23);
  rows[2] = _mm256_unpacklo_epi64(lanes23of01, lanes23of23);
  rows[3] = _mm256_unpackhi_epi64(lanes23of01, lanes23of23);
}

// Rows r and r + 4 side by side, each 16 bytes reordered by `order`.
inline __m256i RowsSideBySide(__m128i low, __m128i high, __m256i order) {
  return _mm256_shuffle_epi8(_mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1),
                             order);
}

// (sum + 8192) >> 14 of every lane.
inline __m256i DescaleRows(__m256i sums) {
  return _mm256_srai_epi32(_mm256_add_epi32(sums, _mm256_set1_epi32(8192)), 14);
}

}  // namespace simd
