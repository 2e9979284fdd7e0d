#include "Yc48Rows.h"

#include <emmintrin.h>

#include <cstring>

#include "ColorConversion.h"

namespace quorlin_host {

namespace {

// Factor and rounding term of the fixed-point scaling, as the 16-bit pair (factor, term) that
// _mm_madd_epi16 multiplies with the pair (value, 1).
constexpr int kShift = 10;
const __m128i kLumaScale = _mm_set1_epi32((512 << 16) | 19152);
const __m128i kChromaScale = _mm_set1_epi32((508 << 16) | 18724);

// Eight (or in the low half four) 8-bit values, offset and scaled to 16-bit YC48 samples.
__m128i Scale(__m128i bytes, int offset, __m128i scale) {
  const __m128i ones = _mm_set1_epi16(1);
  const __m128i values = _mm_sub_epi16(_mm_unpacklo_epi8(bytes, _mm_setzero_si128()),
                                       _mm_set1_epi16(static_cast<int16_t>(offset)));
  const __m128i low = _mm_madd_epi16(_mm_unpacklo_epi16(values, ones), scale);
  const __m128i high = _mm_madd_epi16(_mm_unpackhi_epi16(values, ones), scale);
  return _mm_packs_epi32(_mm_srai_epi32(low, kShift), _mm_srai_epi32(high, kShift));
}

// The chroma samples of eight pixels starting at pixel x.
__m128i ChromaOfEight(const uint8_t *plane, int x, bool paired) {
  if (!paired)
    return Scale(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(plane + x)), 128,
                 kChromaScale);
  int32_t four;
  std::memcpy(&four, plane + x / 2, sizeof four);
  const __m128i samples = Scale(_mm_cvtsi32_si128(four), 128, kChromaScale);
  return _mm_unpacklo_epi16(samples, samples);  // each sample for both pixels of its pair
}

// Stores two pixels, each as (y, cb, cr, 0): the second store overwrites the first's zero.
void StoreTwo(uint8_t *out, __m128i pair) {
  _mm_storel_epi64(reinterpret_cast<__m128i *>(out), pair);
  _mm_storel_epi64(reinterpret_cast<__m128i *>(out + sizeof(PIXEL_YC)), _mm_srli_si128(pair, 8));
}

// Eight 16-bit samples scaled to bytes in the low half of each 16-bit lane, before clamping:
// each lane has its own factor (219 luma, 224 chroma) and offset (16, 128), as the lanes hold
// the interleaved samples Y, Cb, Cr.
__m128i ScaleToBytes(__m128i samples, __m128i factors, __m128i offsets) {
  const __m128i ones = _mm_set1_epi16(1), rounding = _mm_set1_epi16(2048);
  const __m128i low = _mm_madd_epi16(_mm_unpacklo_epi16(samples, ones),
                                     _mm_unpacklo_epi16(factors, rounding));
  const __m128i high = _mm_madd_epi16(_mm_unpackhi_epi16(samples, ones),
                                      _mm_unpackhi_epi16(factors, rounding));
  return _mm_adds_epi16(_mm_packs_epi32(_mm_srai_epi32(low, 12), _mm_srai_epi32(high, 12)),
                        offsets);
}

// Factors and offsets for the three vectors that hold eight interleaved pixels.
struct InterleavedScale {
  __m128i factors[3], offsets[3];
  InterleavedScale() {
    alignas(16) int16_t factor[24], offset[24];
    for (int lane = 0; lane < 24; ++lane) {
      const bool isLuma = lane % 3 == 0;
      factor[lane] = isLuma ? 219 : 224;
      offset[lane] = isLuma ? 16 : 128;
    }
    for (int i = 0; i < 3; ++i) {
      factors[i] = _mm_load_si128(reinterpret_cast<const __m128i *>(factor + 8 * i));
      offsets[i] = _mm_load_si128(reinterpret_cast<const __m128i *>(offset + 8 * i));
    }
  }
};
const InterleavedScale kFromYc48;

}  // namespace

void ToYc48RowPlain(const uint8_t *luma, const uint8_t *u, const uint8_t *v, int width,
                    bool pairedChroma, PIXEL_YC *out) {
  for (int x = 0; x < width; ++x) {
    const int cx = pairedChroma ? x / 2 : x;
    out[x] = PIXEL_YC{LumaToYc48(luma[x]), ChromaToYc48(u[cx]), ChromaToYc48(v[cx])};
  }
}

void ToYc48Row(const uint8_t *luma, const uint8_t *u, const uint8_t *v, int width,
               bool pairedChroma, PIXEL_YC *out) {
  uint8_t *bytes = reinterpret_cast<uint8_t *>(out);
  int x = 0;
  // Each 8-byte store reaches 2 bytes into the next pixel, so the row's last pixel is left to
  // the plain loop.
  for (; x + 9 <= width; x += 8) {
    const __m128i y = Scale(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(luma + x)), 16,
                            kLumaScale);
    const __m128i cb = ChromaOfEight(u, x, pairedChroma);
    const __m128i cr = ChromaOfEight(v, x, pairedChroma);
    const __m128i lumaBlueLow = _mm_unpacklo_epi16(y, cb), lumaBlueHigh = _mm_unpackhi_epi16(y, cb);
    const __m128i redLow = _mm_unpacklo_epi16(cr, _mm_setzero_si128());
    const __m128i redHigh = _mm_unpackhi_epi16(cr, _mm_setzero_si128());
    uint8_t *pixels = bytes + sizeof(PIXEL_YC) * x;
    StoreTwo(pixels, _mm_unpacklo_epi32(lumaBlueLow, redLow));
    StoreTwo(pixels + 2 * sizeof(PIXEL_YC), _mm_unpackhi_epi32(lumaBlueLow, redLow));
    StoreTwo(pixels + 4 * sizeof(PIXEL_YC), _mm_unpacklo_epi32(lumaBlueHigh, redHigh));
    StoreTwo(pixels + 6 * sizeof(PIXEL_YC), _mm_unpackhi_epi32(lumaBlueHigh, redHigh));
  }
  const int first = x;
  const int chromaFirst = pairedChroma ? first / 2 : first;
  ToYc48RowPlain(luma + first, u + chromaFirst, v + chromaFirst, width - first, pairedChroma,
                 out + first);
}

void FromYc48RowPlain(const PIXEL_YC *pixels, int width, uint8_t *luma, uint8_t *u,
                      uint8_t *v) {
  for (int x = 0; x < width; ++x) {
    luma[x] = Yc48ToLuma(pixels[x].y);
    u[x] = Yc48ToChroma(pixels[x].cb);
    v[x] = Yc48ToChroma(pixels[x].cr);
  }
}

void FromYc48Row(const PIXEL_YC *pixels, int width, uint8_t *luma, uint8_t *u, uint8_t *v) {
  const uint8_t *bytes = reinterpret_cast<const uint8_t *>(pixels);
  int x = 0;
  for (; x + 8 <= width; x += 8) {
    __m128i scaled[3];
    for (int i = 0; i < 3; ++i) {
      const __m128i samples = _mm_loadu_si128(
          reinterpret_cast<const __m128i *>(bytes + sizeof(PIXEL_YC) * x + 16 * i));
      scaled[i] = ScaleToBytes(samples, kFromYc48.factors[i], kFromYc48.offsets[i]);
    }
    // The 24 bytes Y U V Y U V ..., clamped by the packs, then apart into the three rows.
    alignas(16) uint8_t interleaved[32];
    _mm_store_si128(reinterpret_cast<__m128i *>(interleaved),
                    _mm_packus_epi16(scaled[0], scaled[1]));
    _mm_store_si128(reinterpret_cast<__m128i *>(interleaved + 16),
                    _mm_packus_epi16(scaled[2], _mm_setzero_si128()));
    for (int i = 0; i < 8; ++i) {
      luma[x + i] = interleaved[3 * i];
      u[x + i] = interleaved[3 * i + 1];
      v[x + i] = interleaved[3 * i + 2];
    }
  }
  FromYc48RowPlain(pixels + x, width - x, luma + x, u + x, v + x);
}

}  // namespace quorlin_host
