// The AVX-512 operations the SIMD filters are written over (simd/VerticalFilter.h,
// simd/TileYC48.h, simd/TileYUY2.h): 512-bit vectors of thirty-two 16-bit samples or sixteen
// 32-bit sums, and the group transposes and stores of the tile filters, whose one group is the
// tile's sixteen rows, rows i, i + 4, i + 8 and i + 12 in the four 128-bit blocks.
//
// In 32-bit code there are still only eight vector registers, so the gain over AVX2 is the width
// per instruction, operands taken straight from memory, and the VNNI multiply-add (vpdpwssd),
// which adds the products of 16-bit pairs to the sums in place, with no separate add and no
// temporary register. Only Kernel.cpp includes this header; it alone is compiled for AVX-512.
#pragma once

#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "simd/HalfStores.h"
#include "simd/LaneTranspose.h"

namespace kernels::simd {

struct Avx512Ops {
  using Vec = __m512i;
  static constexpr int kLanes = 16;    // 32-bit lanes
  static constexpr int kSamples = 32;  // 16-bit samples per step of the vertical filter
  // Source line pairs per pass of the vertical filter's loop.
  static constexpr int kVerticalPairsPerPass = 1;
  // Output lines the vertical filter takes together, sharing their source loads: their four
  // sums, the interleaved pair and the two loaded lines fill the eight registers.
  static constexpr int32_t kVerticalLinesAtOnce = 2;
  // Rows of a tile: one group of sixteen.
  static constexpr int32_t kYC48TileRows = 16;
  static constexpr int32_t kYUY2TileRows = 16;
  // Whether the YC48 tile filter is inlined into the pass loops: called out of line it measured
  // about 5 % faster (1920x1080 -> 1280x720: 2.33 -> 2.21 ms, 1280x720 -> 1920x1080: 2.85 ->
  // 2.68 ms, shortest of seven alternating runs).
  static constexpr bool kInlineYC48Tile = false;
  // YC48 output columns a full group's store takes: two, 16 bytes a row.
  static constexpr int kYC48ColumnsAtOnce = 2;
  // YUY2 output pixel pairs a full group's store takes: two, 8 bytes a row.
  static constexpr int kYUY2PixelPairsAtOnce = 2;

  // Interleaving works within each 128-bit block: lanes 0 to 3 of block b of the low (half 0)
  // or high (half 1) pairs come from samples 8b to 8b + 3 (or 8b + 4 to 8b + 7).
  static constexpr int LaneSample(int half, int k) { return (k / 4) * 8 + half * 4 + k % 4; }

  static Vec Zero() { return _mm512_setzero_si512(); }
  // sums + the 16-bit pairs' products with the coefficient pairs, lane by lane, in one
  // instruction. Written out: around GCC 12's intrinsic every sum is copied to another register
  // and back on each use. The two factors commute (`%`), so either may be the memory operand.
  static Vec AddPairProducts(Vec sums, Vec pairs, Vec coeffs) {
    __asm__("vpdpwssd %2, %1, %0" : "+v"(sums) : "%v"(pairs), "vm"(coeffs));
    return sums;
  }
  static Vec LoadLanes(const uint32_t *lanes) { return _mm512_loadu_si512(lanes); }
  static Vec Load(const void *aligned) { return _mm512_load_si512(aligned); }
  static void Store(void *aligned, Vec v) { _mm512_store_si512(aligned, v); }

  // One coefficient pair in every lane, broadcast once into a register: the tile filters' sample
  // pairs are then the multiply-adds' memory operands. (A broadcast memory operand, {1to16},
  // would need every sample pair loaded into a register instead: one instruction more for each
  // further channel that shares the coefficients.)
  static Vec BroadcastPair(const int16_t *pair) {
    int32_t both;
    std::memcpy(&both, pair, sizeof(both));
    return _mm512_set1_epi32(both);
  }

  static void InterleaveLines(const int16_t *even, const int16_t *odd, Vec &low, Vec &high) {
    const Vec a = _mm512_loadu_si512(even);
    const Vec b = _mm512_loadu_si512(odd);
    low = _mm512_unpacklo_epi16(a, b);
    high = _mm512_unpackhi_epi16(a, b);
  }
  static void InterleaveLines(const uint8_t *even, const uint8_t *odd, Vec &low, Vec &high) {
    const Vec a = _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(even)));
    const Vec b = _mm512_cvtepu8_epi16(_mm256_loadu_si256(reinterpret_cast<const __m256i *>(odd)));
    low = _mm512_unpacklo_epi16(a, b);
    high = _mm512_unpackhi_epi16(a, b);
  }

  // Where sums start: 2^(Shift - 1) in every lane, so that Descale rounds to nearest. The sums
  // wrap around, so starting there equals adding it at the end, as the scalar filter does.
  template <int Shift>
  static Vec RoundingBias() {
    return _mm512_set1_epi32(1 << (Shift - 1));
  }
  // sum >> Shift of every lane, of sums that started at RoundingBias<Shift>().
  template <int Shift>
  static Vec Descale(Vec sums) {
    return _mm512_srai_epi32(sums, Shift);
  }

  // Packing works within each 128-bit block too, which undoes the interleaving's order. Bytes:
  // the 16-bit saturation keeps the order of values, so saturating twice clamps to 0 .. 255;
  // each block's eight bytes are then gathered into the low 256 bits.
  template <int Shift>
  static void StoreDescaled(int16_t *out, Vec low, Vec high) {
    _mm512_storeu_si512(out, _mm512_packs_epi32(Descale<Shift>(low), Descale<Shift>(high)));
  }
  template <int Shift>
  static void StoreDescaled(uint8_t *out, Vec low, Vec high) {
    const Vec words = _mm512_packs_epi32(Descale<Shift>(low), Descale<Shift>(high));
    const Vec bytes = _mm512_permutexvar_epi64(_mm512_setr_epi64(0, 2, 4, 6, 1, 3, 5, 7),
                                               _mm512_packus_epi16(words, words));
    _mm256_storeu_si256(reinterpret_cast<__m256i *>(out), _mm512_castsi512_si256(bytes));
  }

  // Packing and interleaving work within each 128-bit block.
  static Vec PackSigned32(Vec a, Vec b) { return _mm512_packs_epi32(a, b); }
  static Vec PackUnsigned16(Vec a, Vec b) { return _mm512_packus_epi16(a, b); }
  static Vec InterleaveLow16(Vec a, Vec b) { return _mm512_unpacklo_epi16(a, b); }
  static Vec InterleaveHigh16(Vec a, Vec b) { return _mm512_unpackhi_epi16(a, b); }
  static Vec InterleaveLow32(Vec a, Vec b) { return _mm512_unpacklo_epi32(a, b); }
  static Vec InterleaveHigh32(Vec a, Vec b) { return _mm512_unpackhi_epi32(a, b); }
  static Vec InterleaveLow64(Vec a, Vec b) { return _mm512_unpacklo_epi64(a, b); }
  static Vec InterleaveHigh64(Vec a, Vec b) { return _mm512_unpackhi_epi64(a, b); }

  // Pixel pair q of the sixteen YC48 rows: each row's pair is reordered to (Y pair, Cb pair,
  // Cr pair, unused) as four 32-bit lanes, rows i, i + 4, i + 8 and i + 12 in the four blocks,
  // and the 4 x 4 blocks transposed into channels[0 .. 2].
  static void TransposeYC48Pair(const int16_t *const *rows, int32_t q, Vec *channels) {
    const Vec toPairs = _mm512_broadcast_i32x4(
        _mm_setr_epi8(0, 1, 6, 7, 2, 3, 8, 9, 4, 5, 10, 11, -1, -1, -1, -1));
    const auto load = [q](const int16_t *row) {
      return _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + 6 * q));
    };
    Vec r[4];
    for (int i = 0; i < 4; ++i)
      r[i] = _mm512_shuffle_epi8(
          FourBlocks(load(rows[i]), load(rows[i + 4]), load(rows[i + 8]), load(rows[i + 12])),
          toPairs);
    TransposeLanes<Avx512Ops>(r);
    for (int s = 0; s < 3; ++s) Store(channels + s, r[s]);
  }

  // Pixel group k of the sixteen YUY2 rows, bytes or 16-bit plain rows: each row's 8 samples
  // become (Y0, Y1), (Y2, Y3), (U0, U1), (V0, V1) as four 32-bit lanes, rows i, i + 4, i + 8
  // and i + 12 in the four blocks, and the 4 x 4 blocks are transposed into pairs[0 .. 3].
  template <typename In>
  static void TransposeYUY2Group(const In *const *rows, int32_t k, Vec (&pairs)[4]) {
    const Vec toPairs = _mm512_broadcast_i32x4(YUY2PairOrder(rows[0]));
    const auto load = [k](const In *row) { return LoadYUY2Samples(row + 8 * k); };
    for (int i = 0; i < 4; ++i)
      pairs[i] = _mm512_shuffle_epi8(
          FourBlocks(load(rows[i]), load(rows[i + 4]), load(rows[i + 8]), load(rows[i + 12])),
          toPairs);
    TransposeLanes<Avx512Ops>(pairs);
  }

  // A YC48 column of the sixteen rows: block h of pixels[v] holds rows 4h + 2v and 4h + 2v + 1,
  // 8 bytes per row stored at sample `at`; the fourth sample lands on the next pixel, written
  // afterwards.
  static void StoreYC48Column(int16_t *const *outRows, int32_t at, const Vec (&pixels)[2]) {
    for (int v = 0; v < 2; ++v) {
      const __m128i blocks[4] = {_mm512_castsi512_si128(pixels[v]),
                                 _mm512_extracti32x4_epi32(pixels[v], 1),
                                 _mm512_extracti32x4_epi32(pixels[v], 2),
                                 _mm512_extracti32x4_epi32(pixels[v], 3)};
      for (int h = 0; h < 4; ++h) {
        StoreLowHalf(outRows[4 * h + 2 * v] + at, blocks[h]);
        StoreHighHalf(outRows[4 * h + 2 * v + 1] + at, blocks[h]);
      }
    }
  }

  // Two neighbouring YC48 columns of the sixteen rows, `first` and `second` as pixels of
  // StoreYC48Column: 16 bytes per row at sample `at`, the last two samples landing on the next
  // pixel, written afterwards.
  static void StoreYC48Columns(int16_t *const *outRows, int32_t at, const Vec (&first)[2],
                               const Vec (&second)[2]) {
    // (Y, Cb, Cr, 0, Y', Cb', Cr', 0) -> (Y, Cb, Cr, Y', Cb', Cr', 0, 0) in every block.
    const Vec close = _mm512_broadcast_i32x4(
        _mm_setr_epi8(0, 1, 2, 3, 4, 5, 8, 9, 10, 11, 12, 13, 6, 7, 14, 15));
    for (int v = 0; v < 2; ++v) {
      const Vec evenRows = _mm512_shuffle_epi8(_mm512_unpacklo_epi64(first[v], second[v]), close);
      const Vec oddRows = _mm512_shuffle_epi8(_mm512_unpackhi_epi64(first[v], second[v]), close);
      StoreBlocks(outRows + 2 * v, at, evenRows);
      StoreBlocks(outRows + 2 * v + 1, at, oddRows);
    }
  }

  // Two neighbouring YUY2 pixel pairs of the sixteen rows, `first` and `second` as words of
  // StoreRowWords: 8 bytes per row at byte `at`.
  [[gnu::always_inline]] static void StoreRowWordPairs(uint8_t *const *outRows, int32_t at,
                                                      Vec first, Vec second) {
    const Vec evenRows = _mm512_unpacklo_epi32(first, second);  // rows 4h, 4h + 1 of block h
    const Vec oddRows = _mm512_unpackhi_epi32(first, second);   // rows 4h + 2, 4h + 3
    const __m128i even[4] = {_mm512_castsi512_si128(evenRows),
                             _mm512_extracti32x4_epi32(evenRows, 1),
                             _mm512_extracti32x4_epi32(evenRows, 2),
                             _mm512_extracti32x4_epi32(evenRows, 3)};
    const __m128i odd[4] = {_mm512_castsi512_si128(oddRows), _mm512_extracti32x4_epi32(oddRows, 1),
                            _mm512_extracti32x4_epi32(oddRows, 2),
                            _mm512_extracti32x4_epi32(oddRows, 3)};
    for (int h = 0; h < 4; ++h) {
      StoreLowHalf(outRows[4 * h] + at, even[h]);
      StoreHighHalf(outRows[4 * h + 1] + at, even[h]);
      StoreLowHalf(outRows[4 * h + 2] + at, odd[h]);
      StoreHighHalf(outRows[4 * h + 3] + at, odd[h]);
    }
  }

  // 32-bit lane i of `words` to row i at byte `at`, for the sixteen rows, each straight from
  // the vector.
  [[gnu::always_inline]] static void StoreRowWords(uint8_t *const *outRows, int32_t at,
                                                  Vec words) {
    const __m128i blocks[4] = {_mm512_castsi512_si128(words), _mm512_extracti32x4_epi32(words, 1),
                               _mm512_extracti32x4_epi32(words, 2),
                               _mm512_extracti32x4_epi32(words, 3)};
    for (int h = 0; h < 4; ++h) {
      StoreWord(outRows[4 * h] + at, _mm_cvtsi128_si32(blocks[h]));
      StoreWord(outRows[4 * h + 1] + at, _mm_extract_epi32(blocks[h], 1));
      StoreWord(outRows[4 * h + 2] + at, _mm_extract_epi32(blocks[h], 2));
      StoreWord(outRows[4 * h + 3] + at, _mm_extract_epi32(blocks[h], 3));
    }
  }

 private:
  // Eight samples of a YUY2 row: 8 bytes, or 16 bytes of 16-bit samples.
  static __m128i LoadYUY2Samples(const uint8_t *samples) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i *>(samples));
  }
  static __m128i LoadYUY2Samples(const int16_t *samples) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(samples));
  }

  // The byte order, within each block, that turns loaded samples Y0 U0 Y1 V0 Y2 U1 Y3 V1 into
  // the 16-bit pairs (Y0, Y1), (Y2, Y3), (U0, U1), (V0, V1): bytes widened with zeros, 16-bit
  // samples moved whole.
  static __m128i YUY2PairOrder(const uint8_t *) {
    return _mm_setr_epi8(0, -1, 2, -1, 4, -1, 6, -1, 1, -1, 5, -1, 3, -1, 7, -1);
  }
  static __m128i YUY2PairOrder(const int16_t *) {
    return _mm_setr_epi8(0, 1, 4, 5, 8, 9, 12, 13, 2, 3, 10, 11, 6, 7, 14, 15);
  }

  // Block h of `rows` to rows[4h] at sample `at`.
  static void StoreBlocks(int16_t *const *rows, int32_t at, Vec blocks) {
    _mm_storeu_si128(reinterpret_cast<__m128i *>(rows[0] + at), _mm512_castsi512_si128(blocks));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(rows[4] + at),
                     _mm512_extracti32x4_epi32(blocks, 1));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(rows[8] + at),
                     _mm512_extracti32x4_epi32(blocks, 2));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(rows[12] + at),
                     _mm512_extracti32x4_epi32(blocks, 3));
  }

  // Four 16-byte blocks as one vector, `b0` lowest.
  static Vec FourBlocks(__m128i b0, __m128i b1, __m128i b2, __m128i b3) {
    const __m256i low = _mm256_inserti128_si256(_mm256_castsi128_si256(b0), b1, 1);
    const __m256i high = _mm256_inserti128_si256(_mm256_castsi128_si256(b2), b3, 1);
    return _mm512_inserti64x4(_mm512_castsi256_si512(low), high, 1);
  }

  static void StoreWord(uint8_t *out, uint32_t word) { std::memcpy(out, &word, sizeof(word)); }
};

}  // namespace kernels::simd
