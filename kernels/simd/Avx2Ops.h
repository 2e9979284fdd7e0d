// The AVX2 operations the SIMD filters are written over (simd/VerticalFilter.h, simd/TileYC48.h,
// simd/TileYUY2.h): 256-bit vectors of sixteen 16-bit samples or eight 32-bit sums, and the
// group transposes and stores of the tile filters, whose one group is the tile's eight rows, rows
// r and r + 4 in the two 128-bit halves. Only the sources compiled for AVX2 include this
// header: the AVX2 kernel's records and the AVX-512 kernel's YC48 record for processors that
// split 512-bit operations.
#pragma once

#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "simd/HalfStores.h"
#include "simd/LaneTranspose.h"

namespace kernels::simd {

struct Avx2Ops {
  using Vec = __m256i;
  static constexpr int kLanes = 8;     // 32-bit lanes
  static constexpr int kSamples = 16;  // 16-bit samples per step of the vertical filter
  // Source line pairs per pass of the vertical filter's loop: two measured no faster here.
  static constexpr int kVerticalPairsPerPass = 1;
  // Output lines the vertical filter takes together, sharing their source loads: two measured
  // about a tenth faster at 1920x1080 -> 1280x720.
  static constexpr int32_t kVerticalLinesAtOnce = 2;
  // Rows of a tile: one group of eight for YC48, whose three sums per group fill the registers;
  // two groups for YUY2, whose groups share each coefficient's broadcast (measured about a tenth
  // faster than one at 1280x720 -> 1920x1080).
  static constexpr int32_t kYC48TileRows = 8;
  static constexpr int32_t kYUY2TileRows = 8;
  // Whether the YC48 tile filter is inlined into the pass loops: called out of line, the AVX2
  // one reloads the tile's pointers after every store (about 5 % slower at 1920x1080 ->
  // 1280x720).
  static constexpr bool kInlineYC48Tile = true;
  // YC48 output columns a full group's store takes: two, 16 bytes a row.
  static constexpr int kYC48ColumnsAtOnce = 2;
  // YUY2 output pixel pairs a full group's store takes: two, 8 bytes a row.
  static constexpr int kYUY2PixelPairsAtOnce = 2;

  // Interleaving works within each 128-bit half: lanes 0 to 3 of the low (half 0) or high
  // (half 1) pairs come from samples 0 to 7, lanes 4 to 7 from samples 8 to 15.
  static constexpr int LaneSample(int half, int k) { return (k / 4) * 8 + half * 4 + k % 4; }

  static Vec Zero() { return _mm256_setzero_si256(); }
  static Vec LoadLanes(const uint32_t *lanes) {
    return _mm256_loadu_si256(reinterpret_cast<const __m256i *>(lanes));
  }
  static Vec Load(const void *aligned) {
    return _mm256_load_si256(static_cast<const __m256i *>(aligned));
  }
  static void Store(void *aligned, Vec v) { _mm256_store_si256(static_cast<__m256i *>(aligned), v); }

  // One coefficient pair in every lane.
  static Vec BroadcastPair(const int16_t *pair) {
    int32_t both;
    std::memcpy(&both, pair, sizeof(both));
    return _mm256_set1_epi32(both);
  }
  // sums + the 16-bit pairs' products with the coefficient pairs, lane by lane. Written out so
  // that the sums stay in their register: around the intrinsics GCC 12 adds into another
  // register and copies back, and with the tile's six sums it keeps four of them in memory. The
  // two factors commute (`%`), so either may be the memory operand.
  static Vec AddPairProducts(Vec sums, Vec pairs, Vec coeffs) {
    Vec products;
    __asm__("vpmaddwd %3, %2, %1\n\tvpaddd %1, %0, %0"
            : "+x"(sums), "=&x"(products)
            : "%x"(pairs), "xm"(coeffs));
    return sums;
  }

  // Packing and interleaving work within each 128-bit half.
  static Vec PackSigned32(Vec a, Vec b) { return _mm256_packs_epi32(a, b); }
  static Vec PackUnsigned16(Vec a, Vec b) { return _mm256_packus_epi16(a, b); }
  static Vec InterleaveLow16(Vec a, Vec b) { return _mm256_unpacklo_epi16(a, b); }
  static Vec InterleaveHigh16(Vec a, Vec b) { return _mm256_unpackhi_epi16(a, b); }
  static Vec InterleaveLow32(Vec a, Vec b) { return _mm256_unpacklo_epi32(a, b); }
  static Vec InterleaveHigh32(Vec a, Vec b) { return _mm256_unpackhi_epi32(a, b); }
  static Vec InterleaveLow64(Vec a, Vec b) { return _mm256_unpacklo_epi64(a, b); }
  static Vec InterleaveHigh64(Vec a, Vec b) { return _mm256_unpackhi_epi64(a, b); }

  static void InterleaveLines(const int16_t *even, const int16_t *odd, Vec &low, Vec &high) {
    const Vec a = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(even));
    const Vec b = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(odd));
    low = _mm256_unpacklo_epi16(a, b);
    high = _mm256_unpackhi_epi16(a, b);
  }
  static void InterleaveLines(const uint8_t *even, const uint8_t *odd, Vec &low, Vec &high) {
    const Vec a = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(even)));
    const Vec b = _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i *>(odd)));
    low = _mm256_unpacklo_epi16(a, b);
    high = _mm256_unpackhi_epi16(a, b);
  }

  // Where sums start: 2^(Shift - 1) in every lane, so that Descale rounds to nearest. The sums
  // wrap around, so starting there equals adding it at the end, as the scalar filter does.
  template <int Shift>
  static Vec RoundingBias() {
    return _mm256_set1_epi32(1 << (Shift - 1));
  }
  // sum >> Shift of every lane, of sums that started at RoundingBias<Shift>().
  template <int Shift>
  static Vec Descale(Vec sums) {
    return _mm256_srai_epi32(sums, Shift);
  }

  // Packing works within each half too, which undoes the interleaving's order.
  template <int Shift>
  static void StoreDescaled(int16_t *out, Vec low, Vec high) {
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(out),
                        _mm256_packs_epi32(Descale<Shift>(low), Descale<Shift>(high)));
  }
  template <int Shift>
  static void StoreDescaled(uint8_t *out, Vec low, Vec high) {
    const Vec words = _mm256_packs_epi32(Descale<Shift>(low), Descale<Shift>(high));
    const Vec bytes = _mm256_permute4x64_epi64(_mm256_packus_epi16(words, words), 0x08);
    _mm_storeu_si128(reinterpret_cast<__m128i *>(out), _mm256_castsi256_si128(bytes));
  }

  // Pixel pair q of the eight YC48 rows: each row's pair is reordered to (Y pair, Cb pair,
  // Cr pair, unused) as four 32-bit lanes, rows r and r + 4 side by side, and the 4 x 4 blocks
  // transposed into channels[0 .. 2].
  static void TransposeYC48Pair(const int16_t *const *rows, int32_t q, Vec *channels) {
    const Vec toPairs = _mm256_setr_epi8(0, 1, 6, 7, 2, 3, 8, 9, 4, 5, 10, 11, -1, -1, -1, -1,
                                         0, 1, 6, 7, 2, 3, 8, 9, 4, 5, 10, 11, -1, -1, -1, -1);
    const auto load = [q](const int16_t *row) {
      return _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + 6 * q));
    };
    Vec r[4];
    for (int i = 0; i < 4; ++i) r[i] = RowsSideBySide(load(rows[i]), load(rows[i + 4]), toPairs);
    TransposeLanes<Avx2Ops>(r);
    for (int s = 0; s < 3; ++s) Store(channels + s, r[s]);
  }

  // Pixel group k of the eight YUY2 rows, bytes or 16-bit plain rows: each row's 8 samples
  // become (Y0, Y1), (Y2, Y3), (U0, U1), (V0, V1) as four 32-bit lanes, rows r and r + 4 side
  // by side, and the 4 x 4 blocks are transposed into pairs[0 .. 3].
  template <typename In>
  static void TransposeYUY2Group(const In *const *rows, int32_t k, Vec (&pairs)[4]) {
    const Vec toPairs = YUY2PairOrder(rows[0]);
    const auto load = [k](const In *row) { return LoadYUY2Samples(row + 8 * k); };
    for (int i = 0; i < 4; ++i)
      pairs[i] = RowsSideBySide(load(rows[i]), load(rows[i + 4]), toPairs);
    TransposeLanes<Avx2Ops>(pairs);
  }

  // A YC48 column of the eight rows from pixels[0] (rows 0, 1 | 4, 5) and pixels[1] (rows
  // 2, 3 | 6, 7), 8 bytes per row at sample `at`: the fourth sample lands on the next pixel,
  // written afterwards.
  static void StoreYC48Column(int16_t *const *outRows, int32_t at, const Vec (&pixels)[2]) {
    StoreRowQuarters(outRows, at, pixels[0], pixels[1]);
  }

  // Two neighbouring YC48 columns of the eight rows, `first` and `second` as pixels of
  // StoreYC48Column: 16 bytes per row at sample `at`, the last two samples landing on the next
  // pixel, written afterwards.
  [[gnu::always_inline]] static void StoreYC48Columns(int16_t *const *outRows, int32_t at,
                                                     const Vec (&first)[2],
                                                     const Vec (&second)[2]) {
    // (Y, Cb, Cr, 0, Y', Cb', Cr', 0) -> (Y, Cb, Cr, Y', Cb', Cr', 0, 0) in both halves.
    const Vec close = _mm256_setr_epi8(0, 1, 2, 3, 4, 5, 8, 9, 10, 11, 12, 13, 6, 7, 14, 15,
                                       0, 1, 2, 3, 4, 5, 8, 9, 10, 11, 12, 13, 6, 7, 14, 15);
    for (int v = 0; v < 2; ++v) {
      const Vec evenRows = _mm256_shuffle_epi8(_mm256_unpacklo_epi64(first[v], second[v]), close);
      const Vec oddRows = _mm256_shuffle_epi8(_mm256_unpackhi_epi64(first[v], second[v]), close);
      StoreHalves(outRows[2 * v] + at, outRows[2 * v + 4] + at, evenRows);
      StoreHalves(outRows[2 * v + 1] + at, outRows[2 * v + 5] + at, oddRows);
    }
  }

  // Two neighbouring YUY2 pixel pairs of the eight rows, `first` and `second` as words of
  // StoreRowWords: 8 bytes per row at byte `at`.
  [[gnu::always_inline]] static void StoreRowWordPairs(uint8_t *const *outRows, int32_t at,
                                                      Vec first, Vec second) {
    StoreRowQuarters(outRows, at, _mm256_unpacklo_epi32(first, second),
                     _mm256_unpackhi_epi32(first, second));
  }

  // 32-bit lane i of `words` to row i at byte `at`, for the eight rows, each straight from the
  // vector.
  [[gnu::always_inline]] static void StoreRowWords(uint8_t *const *outRows, int32_t at,
                                                  Vec words) {
    const __m128i rows0to3 = _mm256_castsi256_si128(words);
    const __m128i rows4to7 = _mm256_extracti128_si256(words, 1);
    StoreWord(outRows[0] + at, _mm_cvtsi128_si32(rows0to3));
    StoreWord(outRows[1] + at, _mm_extract_epi32(rows0to3, 1));
    StoreWord(outRows[2] + at, _mm_extract_epi32(rows0to3, 2));
    StoreWord(outRows[3] + at, _mm_extract_epi32(rows0to3, 3));
    StoreWord(outRows[4] + at, _mm_cvtsi128_si32(rows4to7));
    StoreWord(outRows[5] + at, _mm_extract_epi32(rows4to7, 1));
    StoreWord(outRows[6] + at, _mm_extract_epi32(rows4to7, 2));
    StoreWord(outRows[7] + at, _mm_extract_epi32(rows4to7, 3));
  }

 private:
  // Rows r and r + 4 side by side, each 16 bytes reordered by `order`.
  static Vec RowsSideBySide(__m128i low, __m128i high, Vec order) {
    return _mm256_shuffle_epi8(_mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1),
                               order);
  }

  // Eight samples of a YUY2 row: 8 bytes, or 16 bytes of 16-bit samples.
  static __m128i LoadYUY2Samples(const uint8_t *samples) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i *>(samples));
  }
  static __m128i LoadYUY2Samples(const int16_t *samples) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(samples));
  }

  // The byte order that turns loaded samples Y0 U0 Y1 V0 Y2 U1 Y3 V1 into the 16-bit pairs
  // (Y0, Y1), (Y2, Y3), (U0, U1), (V0, V1): bytes widened with zeros, 16-bit samples moved whole.
  static Vec YUY2PairOrder(const uint8_t *) {
    return _mm256_setr_epi8(0, -1, 2, -1, 4, -1, 6, -1, 1, -1, 5, -1, 3, -1, 7, -1,
                            0, -1, 2, -1, 4, -1, 6, -1, 1, -1, 5, -1, 3, -1, 7, -1);
  }
  static Vec YUY2PairOrder(const int16_t *) {
    return _mm256_setr_epi8(0, 1, 4, 5, 8, 9, 12, 13, 2, 3, 10, 11, 6, 7, 14, 15,
                            0, 1, 4, 5, 8, 9, 12, 13, 2, 3, 10, 11, 6, 7, 14, 15);
  }

  static void StoreWord(uint8_t *out, uint32_t word) { std::memcpy(out, &word, sizeof(word)); }

  // The eight 64-bit quarters of `rows0145` (rows 0, 1 | 4, 5) and `rows2367` (rows 2, 3 | 6, 7),
  // each to its row at element `at`.
  template <typename T>
  [[gnu::always_inline]] static void StoreRowQuarters(T *const *outRows, int32_t at,
                                                      Vec rows0145, Vec rows2367) {
    const __m128i rows01 = _mm256_castsi256_si128(rows0145);
    const __m128i rows45 = _mm256_extracti128_si256(rows0145, 1);
    const __m128i rows23 = _mm256_castsi256_si128(rows2367);
    const __m128i rows67 = _mm256_extracti128_si256(rows2367, 1);
    StoreLowHalf(outRows[0] + at, rows01);
    StoreHighHalf(outRows[1] + at, rows01);
    StoreLowHalf(outRows[2] + at, rows23);
    StoreHighHalf(outRows[3] + at, rows23);
    StoreLowHalf(outRows[4] + at, rows45);
    StoreHighHalf(outRows[5] + at, rows45);
    StoreLowHalf(outRows[6] + at, rows67);
    StoreHighHalf(outRows[7] + at, rows67);
  }

  // The low 128 bits of v to `low`, the high 128 bits to `high`.
  static void StoreHalves(void *low, void *high, Vec v) {
    _mm_storeu_si128(static_cast<__m128i *>(low), _mm256_castsi256_si128(v));
    _mm_storeu_si128(static_cast<__m128i *>(high), _mm256_extracti128_si256(v, 1));
  }
};


}  // namespace kernels::simd
