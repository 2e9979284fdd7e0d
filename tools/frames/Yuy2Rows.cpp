#include "frames/Yuy2Rows.h"

#include <emmintrin.h>

namespace quorlin_resizer {

namespace {

// Sixteen pixels a step: one vector of luma, half a vector of each chroma.
constexpr int kPairsPerStep = 8;

__m128i Load(const uint8_t *p) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p)); }
__m128i LoadHalf(const uint8_t *p) {
  return _mm_loadl_epi64(reinterpret_cast<const __m128i *>(p));
}
void Store(uint8_t *p, __m128i value) { _mm_storeu_si128(reinterpret_cast<__m128i *>(p), value); }
void StoreHalf(uint8_t *p, __m128i value) {
  _mm_storel_epi64(reinterpret_cast<__m128i *>(p), value);
}

}  // namespace

void PackYuy2RowPlain(const uint8_t *luma, const uint8_t *u, const uint8_t *v, int pairs,
                      uint8_t *packed) {
  for (int pair = 0; pair < pairs; ++pair) {
    packed[4 * pair] = luma[2 * pair];
    packed[4 * pair + 1] = u[pair];
    packed[4 * pair + 2] = luma[2 * pair + 1];
    packed[4 * pair + 3] = v[pair];
  }
}

void PackYuy2Row(const uint8_t *luma, const uint8_t *u, const uint8_t *v, int pairs,
                 uint8_t *packed) {
  int pair = 0;
  for (; pair + kPairsPerStep <= pairs; pair += kPairsPerStep) {
    const __m128i y = Load(luma + 2 * pair);
    const __m128i uv = _mm_unpacklo_epi8(LoadHalf(u + pair), LoadHalf(v + pair));
    Store(packed + 4 * pair, _mm_unpacklo_epi8(y, uv));
    Store(packed + 4 * pair + 16, _mm_unpackhi_epi8(y, uv));
  }
  PackYuy2RowPlain(luma + 2 * pair, u + pair, v + pair, pairs - pair, packed + 4 * pair);
}

void UnpackYuy2RowPlain(const uint8_t *packed, int pairs, uint8_t *luma, uint8_t *u,
                        uint8_t *v) {
  for (int pair = 0; pair < pairs; ++pair) {
    luma[2 * pair] = packed[4 * pair];
    u[pair] = packed[4 * pair + 1];
    luma[2 * pair + 1] = packed[4 * pair + 2];
    v[pair] = packed[4 * pair + 3];
  }
}

void UnpackYuy2Row(const uint8_t *packed, int pairs, uint8_t *luma, uint8_t *u, uint8_t *v) {
  const __m128i lowBytes = _mm_set1_epi16(0x00FF);
  int pair = 0;
  for (; pair + kPairsPerStep <= pairs; pair += kPairsPerStep) {
    const __m128i first = Load(packed + 4 * pair), second = Load(packed + 4 * pair + 16);
    Store(luma + 2 * pair, _mm_packus_epi16(_mm_and_si128(first, lowBytes),
                                            _mm_and_si128(second, lowBytes)));
    // The chroma bytes U V U V ..., then U and V apart.
    const __m128i uv = _mm_packus_epi16(_mm_srli_epi16(first, 8), _mm_srli_epi16(second, 8));
    const __m128i uvu = _mm_packus_epi16(_mm_and_si128(uv, lowBytes), _mm_setzero_si128());
    const __m128i uvv = _mm_packus_epi16(_mm_srli_epi16(uv, 8), _mm_setzero_si128());
    StoreHalf(u + pair, uvu);
    StoreHalf(v + pair, uvv);
  }
  UnpackYuy2RowPlain(packed + 4 * pair, pairs - pair, luma + 2 * pair, u + pair, v + pair);
}

}  // namespace quorlin_resizer
