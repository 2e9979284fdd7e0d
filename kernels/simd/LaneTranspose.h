// The 4 x 4 transpose of 32-bit lanes that every SIMD tile filter ends its transposition with:
// four rows, each reordered so that lane k holds its k-th sample pair, become four vectors, the
// k-th holding lane k of every row (row i in lane i).
#pragma once

#include <emmintrin.h>

namespace simd {

inline void TransposeLanes(__m128i (&rows)[4]) {
  const __m128i lanes01of01 = _mm_unpacklo_epi32(rows[0], rows[1]);
  const __m128i lanes23of01 = _mm_unpackhi_epi32(rows[0], rows[1]);
  const __m128i lanes01of23 = _mm_unpacklo_epi32(rows[2], rows[3]);
  const __m128i lanes23of23 = _mm_unpackhi_epi32(rows[2], rows[3]);
  rows[0] = _mm_unpacklo_epi64(lanes01of01, lanes01of23);
  rows[1] = _mm_unpackhi_epi64(lanes01of01, lanes01of23);
  rows[2] = _mm_unpacklo_epi64(lanes23of01, lanes23of23);
  rows[3] = _mm_unpackhi_epi64(lanes23of01, lanes23of23);
}

}  // namespace simd
