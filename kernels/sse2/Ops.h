// The SSE2 operations the SIMD filters are written over (simd/VerticalFilter.h, simd/TileYC48.h,
// simd/TileYUY2.h): 128-bit vectors of eight 16-bit samples or four 32-bit sums, and the group
// transposes and stores of the tile filters, whose groups are four rows.
#pragma once

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "simd/HalfStores.h"
#include "simd/LaneTranspose.h"

namespace kernels::simd {

struct Sse2Ops {
  using Vec = __m128i;
  static constexpr int kLanes = 4;    // 32-bit lanes
  static constexpr int kSamples = 8;  // 16-bit samples per step of the vertical filter
  // Source line pairs per pass of the vertical filter's loop over a step's pairs: at eight
  // samples a step the loop's own work weighs enough that taking two at a time pays.
  static constexpr int kVerticalPairsPerPass = 2;
  // Output lines the vertical filter takes together: two measured slower here than one line
  // with two pairs a pass, as the eight registers cannot hold both lines' sums and pairs.
  static constexpr int32_t kVerticalLinesAtOnce = 1;
  // Rows of a tile: two groups of four.
  static constexpr int32_t kYC48TileRows = 8;
  static constexpr int32_t kYUY2TileRows = 8;
  // Whether the YC48 tile filter is inlined into the pass loops: the SSE2 one stays a call of
  // its own, the layout its figures were measured with.
  static constexpr bool kInlineYC48Tile = false;
  // YC48 output columns a full group's store takes.
  static constexpr int kYC48ColumnsAtOnce = 1;
  // YUY2 output pixel pairs a full group's store takes.
  static constexpr int kYUY2PixelPairsAtOnce = 1;

  // The sample of a step that 32-bit lane k of its low (half 0) or high (half 1) interleaved
  // pairs belongs to.
  static constexpr int LaneSample(int half, int k) { return half * 4 + k; }

  static Vec Zero() { return _mm_setzero_si128(); }
  static Vec LoadLanes(const uint32_t *lanes) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(lanes));
  }
  static Vec Load(const void *aligned) {
    return _mm_load_si128(static_cast<const __m128i *>(aligned));
  }
  static void Store(void *aligned, Vec v) { _mm_store_si128(static_cast<__m128i *>(aligned), v); }

  // One coefficient pair in every lane.
  static Vec BroadcastPair(const int16_t *pair) {
    int32_t both;
    std::memcpy(&both, pair, sizeof(both));
    return _mm_set1_epi32(both);
  }
  // sums + the 16-bit pairs' products with the coefficient pairs, lane by lane.
  static Vec AddPairProducts(Vec sums, Vec pairs, Vec coeffs) {
    return _mm_add_epi32(sums, _mm_madd_epi16(pairs, coeffs));
  }

  static Vec PackSigned32(Vec a, Vec b) { return _mm_packs_epi32(a, b); }
  static Vec PackUnsigned16(Vec a, Vec b) { return _mm_packus_epi16(a, b); }
  static Vec InterleaveLow16(Vec a, Vec b) { return _mm_unpacklo_epi16(a, b); }
  static Vec InterleaveHigh16(Vec a, Vec b) { return _mm_unpackhi_epi16(a, b); }
  static Vec InterleaveLow32(Vec a, Vec b) { return _mm_unpacklo_epi32(a, b); }
  static Vec InterleaveHigh32(Vec a, Vec b) { return _mm_unpackhi_epi32(a, b); }
  static Vec InterleaveLow64(Vec a, Vec b) { return _mm_unpacklo_epi64(a, b); }
  static Vec InterleaveHigh64(Vec a, Vec b) { return _mm_unpackhi_epi64(a, b); }

  // Samples s .. s + 7 of two lines as 16-bit (even line, odd line) pairs: samples 0 to 3 in
  // `low`, 4 to 7 in `high`.
  static void InterleaveLines(const int16_t *even, const int16_t *odd, Vec &low, Vec &high) {
    const Vec a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(even));
    const Vec b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(odd));
    low = _mm_unpacklo_epi16(a, b);
    high = _mm_unpackhi_epi16(a, b);
  }
  static void InterleaveLines(const uint8_t *even, const uint8_t *odd, Vec &low, Vec &high) {
    const Vec bytes = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(even)),
                                        _mm_loadl_epi64(reinterpret_cast<const __m128i *>(odd)));
    low = _mm_unpacklo_epi8(bytes, _mm_setzero_si128());
    high = _mm_unpackhi_epi8(bytes, _mm_setzero_si128());
  }

  // Where sums start: 2^(Shift - 1) in every lane, so that Descale rounds to nearest. The sums
  // wrap around, so starting there equals adding it at the end, as the scalar filter does.
  template <int Shift>
  static Vec RoundingBias() {
    return _mm_set1_epi32(1 << (Shift - 1));
  }
  // sum >> Shift of every lane, of sums that started at RoundingBias<Shift>().
  template <int Shift>
  static Vec Descale(Vec sums) {
    return _mm_srai_epi32(sums, Shift);
  }

  // The eight sums of a step, descaled and clamped: signed 16-bit samples, or bytes (the 16-bit
  // saturation keeps the order of values, so saturating twice is clamping to 0 .. 255).
  template <int Shift>
  static void StoreDescaled(int16_t *out, Vec low, Vec high) {
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out),
                     _mm_packs_epi32(Descale<Shift>(low), Descale<Shift>(high)));
  }
  template <int Shift>
  static void StoreDescaled(uint8_t *out, Vec low, Vec high) {
    const Vec words = _mm_packs_epi32(Descale<Shift>(low), Descale<Shift>(high));
    StoreLowHalf(out, _mm_packus_epi16(words, words));
  }

  // Pixel pair q of four YC48 rows: each row's pair is reordered to (Y pair, Cb pair, Cr pair,
  // unused) as four 32-bit lanes, and the 4 x 4 block transposed into channels[0 .. 2].
  static void TransposeYC48Pair(const int16_t *const *rows, int32_t q, Vec *channels) {
    Vec r[4];
    for (int i = 0; i < 4; ++i) {
      const Vec pixels = _mm_loadu_si128(reinterpret_cast<const __m128i *>(rows[i] + 6 * q));
      r[i] = _mm_unpacklo_epi16(pixels, _mm_srli_si128(pixels, 6));
    }
    TransposeLanes<Sse2Ops>(r);
    for (int s = 0; s < 3; ++s) Store(channels + s, r[s]);
  }

  // Pixel group k of four YUY2 rows, bytes or 16-bit plain rows: each row's 8 samples become
  // (Y0, Y1), (Y2, Y3), (U0, U1), (V0, V1) as four 32-bit lanes, and the 4 x 4 block is
  // transposed into pairs[0 .. 3].
  template <typename In>
  static void TransposeYUY2Group(const In *const *rows, int32_t k, Vec (&pairs)[4]) {
    for (int i = 0; i < 4; ++i) {
      // Y0 U0 Y1 V0 Y2 U1 Y3 V1 -> Y0 Y1 U0 V0 Y2 Y3 U1 V1 -> Y0 Y1 Y2 Y3 U0 V0 U1 V1
      // -> Y0 Y1 Y2 Y3 U0 U1 V0 V1
      Vec samples = LoadYUY2Samples(rows[i] + 8 * k);
      samples = _mm_shufflehi_epi16(_mm_shufflelo_epi16(samples, _MM_SHUFFLE(3, 1, 2, 0)),
                                    _MM_SHUFFLE(3, 1, 2, 0));
      samples = _mm_shuffle_epi32(samples, _MM_SHUFFLE(3, 1, 2, 0));
      pairs[i] = _mm_shufflehi_epi16(samples, _MM_SHUFFLE(3, 1, 2, 0));
    }
    TransposeLanes<Sse2Ops>(pairs);
  }

  // Eight samples of a YUY2 row as 16-bit values: bytes widened, 16-bit samples as they are.
  static Vec LoadYUY2Samples(const uint8_t *samples) {
    return _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i *>(samples)),
                             _mm_setzero_si128());
  }
  static Vec LoadYUY2Samples(const int16_t *samples) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(samples));
  }

  // A YC48 column of four rows from pixels[0] (rows 0, 1) and pixels[1] (rows 2, 3), 8 bytes
  // per row at sample `at`: the fourth sample lands on the next pixel, written afterwards.
  static void StoreYC48Column(int16_t *const *outRows, int32_t at, const Vec (&pixels)[2]) {
    for (int32_t i = 0; i < 2; ++i) {
      StoreLowHalf(outRows[2 * i] + at, pixels[i]);
      StoreHighHalf(outRows[2 * i + 1] + at, pixels[i]);
    }
  }

  // 32-bit lane i of `words` to row i at byte `at`, for the four rows.
  [[gnu::always_inline]] static void StoreRowWords(uint8_t *const *outRows, int32_t at,
                                                  Vec words) {
    alignas(16) uint32_t lanes[4];
    Store(lanes, words);
    for (int32_t r = 0; r < 4; ++r) std::memcpy(outRows[r] + at, &lanes[r], sizeof(uint32_t));
  }
};

}  // namespace kernels::simd
