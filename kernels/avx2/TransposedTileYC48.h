// The horizontal filter of a whole tile of YC48 rows in the AVX2 kernel, eight rows at a time
// (TransposedTile.h). The rows are first transposed: for every source pixel pair and channel
// (Y, Cb, Cr), one vector of the eight rows' sample pairs. The eight rows' outputs are
// interleaved back into pixels when they are stored. Sums wrap around and are descaled and
// clamped like the portable filter.
#pragma once

#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "avx2/Avx2Ops.h"
#include "avx2/TransposedTile.h"
#include "simd/HalfStores.h"
#include "portable/SampleFormats.h"
#include "simd/TileStorage.h"
#include "engine/ResizeParams.h"

namespace simd {

template <class Layout>
class TransposedTileYC48 : public TileStorage<portable::YC48Format, Avx2Ops> {
 public:
  static constexpr int32_t kRows = kTileRows;
  static constexpr int kSpp = portable::YC48Format::kSamplesPerPixel;

  // The plain rows for the vertical filter's output, then the transposed pairs.
  static int32_t BufferBytes(int32_t srcWidth) {
    return Bytes(srcWidth, portable::RowCapacityPixels(srcWidth) / 2 * kSpp);
  }

  TransposedTileYC48(const ResizeParams &p, void *buffer) : TileStorage(p, buffer) {}

  // Output pixels [xBegin, xEnd) of `rowCount` rows (at most kRows) from the rows at `rows`,
  // whose pixels [Begin, ReadEnd) of `columns` are read; pixels up to End read as zeros. Output
  // row r starts at `out` + r x lineSize bytes.
  // The rows are read in full before any output is written, so they may be the output rows.
  // Inlined into the pass loops: called out of line, it reloads the tile's pointers after every
  // store (about 5 % slower at 1920x1080 -> 1280x720).
  [[gnu::always_inline]] void Filter(const int16_t *const *rows, int32_t rowCount,
                                     const portable::TileColumns &columns, int32_t xBegin,
                                     int32_t xEnd, void *out, int32_t lineSize) const {
    const TileRowSet<int16_t> tile(rows, rowCount, out, lineSize);
    Transpose(tile.In, columns);
    for (int32_t x = xBegin; x < xEnd; ++x) {
      __m256i rows01and45, rows23and67;
      FilterColumn(p_.HWeights.Entries[x], rows01and45, rows23and67);
      if (rowCount == kRows && x + 1 < xEnd)
        StoreFullColumn(tile.Out, x, rows01and45, rows23and67);
      else
        StoreColumn(tile.Out, rowCount, x, x + 1 < xEnd, rows01and45, rows23and67);
    }
  }

 private:
  // The transposed pairs [Begin / 2, End / 2): vector kSpp * q + s holds channel s's sample
  // pair (even pixel, odd pixel) of pixel pair q, row r in lane r.
  void Transpose(const int16_t *const *rows, const portable::TileColumns &columns) const {
    int32_t q = columns.Begin / 2;
    // A 16-byte load at pair q reads 4 bytes past the pair: stop where that leaves the rows.
    for (; 12 * q + 16 <= kSpp * 2 * columns.ReadEnd; ++q) TransposePair(rows, q);
    for (; q < columns.End / 2; ++q) {
      alignas(32) int32_t lanes[kSpp][kRows] = {};
      for (int32_t r = 0; r < kRows; ++r)
        for (int t = 0; t < 2; ++t)
          if (2 * q + t < columns.ReadEnd)
            for (int s = 0; s < kSpp; ++s) {
              const uint16_t sample = static_cast<uint16_t>(rows[r][(2 * q + t) * kSpp + s]);
              lanes[s][r] |= static_cast<int32_t>(sample) << (16 * t);
            }
      for (int s = 0; s < kSpp; ++s)
        transposed_[kSpp * q + s] =
            _mm256_load_si256(reinterpret_cast<const __m256i *>(lanes[s]));
    }
  }

  // Pixel pair q of the eight rows: each row's pair is reordered to (Y pair, Cb pair, Cr pair,
  // unused) as four 32-bit lanes, rows r and r + 4 side by side, and the 4 x 4 blocks transposed.
  void TransposePair(const int16_t *const *rows, int32_t q) const {
    const __m256i toPairs = _mm256_setr_epi8(0, 1, 6, 7, 2, 3, 8, 9, 4, 5, 10, 11, -1, -1, -1, -1,
                                             0, 1, 6, 7, 2, 3, 8, 9, 4, 5, 10, 11, -1, -1, -1, -1);
    __m256i r[4];
    for (int i = 0; i < 4; ++i)
      r[i] = RowsSideBySide(LoadPair(rows[i], q), LoadPair(rows[i + 4], q), toPairs);
    TransposeLanes(r);
    __m256i *pair = transposed_ + kSpp * q;
    for (int s = 0; s < kSpp; ++s) _mm256_store_si256(pair + s, r[s]);
  }

  static __m128i LoadPair(const int16_t *row, int32_t q) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + 2 * kSpp * q));
  }

  // One output column of the eight rows, descaled and clamped, as pixels (Y, Cb, Cr, 0) of
  // 16-bit samples: rows 0, 1 | 4, 5 in the first vector, rows 2, 3 | 6, 7 in the second.
  void FilterColumn(const WeightEntry &entry, __m256i &rows01and45, __m256i &rows23and67) const {
    const __m256i *pair = transposed_ + kSpp * pairOf_.Divide(entry.Offset);
    const int32_t count = PairCount(entry.Coeffs);
    __m256i y = _mm256_setzero_si256(), cb = _mm256_setzero_si256(), cr = _mm256_setzero_si256();
    for (int32_t j = 0; j < count; ++j, pair += kSpp) {
      const int16_t *coeffs = entry.Coeffs + j * Layout::kPairCoeffs;
      const __m256i luma = BroadcastPair(coeffs + Layout::SetOffset(portable::kLumaSet));
      const __m256i chroma = BroadcastPair(coeffs + Layout::SetOffset(portable::kChromaSet));
      y = _mm256_add_epi32(y, _mm256_madd_epi16(_mm256_load_si256(pair), luma));
      cb = _mm256_add_epi32(cb, _mm256_madd_epi16(_mm256_load_si256(pair + 1), chroma));
      cr = _mm256_add_epi32(cr, _mm256_madd_epi16(_mm256_load_si256(pair + 2), chroma));
    }
    const __m256i yCr = _mm256_packs_epi32(DescaleRows(y), DescaleRows(cr));  // Y, Cr 0-3 | 4-7
    const __m256i cb0 = _mm256_packs_epi32(DescaleRows(cb), _mm256_setzero_si256());
    const __m256i yCb = _mm256_unpacklo_epi16(yCr, cb0);
    const __m256i cr0 = _mm256_unpackhi_epi16(yCr, cb0);
    rows01and45 = _mm256_unpacklo_epi32(yCb, cr0);
    rows23and67 = _mm256_unpackhi_epi32(yCb, cr0);
  }

  // Stores 8 bytes per row: the fourth sample lands on the next pixel, written afterwards.
  static void StoreFullColumn(int16_t *const *outRows, int32_t x, __m256i rows01and45,
                              __m256i rows23and67) {
    const __m128i rows01 = _mm256_castsi256_si128(rows01and45);
    const __m128i rows45 = _mm256_extracti128_si256(rows01and45, 1);
    const __m128i rows23 = _mm256_castsi256_si128(rows23and67);
    const __m128i rows67 = _mm256_extracti128_si256(rows23and67, 1);
    const int32_t at = kSpp * x;
    StoreLowHalf(outRows[0] + at, rows01);
    StoreHighHalf(outRows[1] + at, rows01);
    StoreLowHalf(outRows[2] + at, rows23);
    StoreHighHalf(outRows[3] + at, rows23);
    StoreLowHalf(outRows[4] + at, rows45);
    StoreHighHalf(outRows[5] + at, rows45);
    StoreLowHalf(outRows[6] + at, rows67);
    StoreHighHalf(outRows[7] + at, rows67);
  }

  // The rows [0, rowCount) of a column, 6 bytes per row, or 8 with room after the pixel.
  static void StoreColumn(int16_t *const *outRows, int32_t rowCount, int32_t x, bool roomAfter,
                          __m256i rows01and45, __m256i rows23and67) {
    alignas(32) int16_t pixels[kRows][4];  // rows 0, 1, 4, 5, 2, 3, 6, 7
    _mm256_store_si256(reinterpret_cast<__m256i *>(pixels[0]), rows01and45);
    _mm256_store_si256(reinterpret_cast<__m256i *>(pixels[4]), rows23and67);
    static constexpr int kSlot[kRows] = {0, 1, 4, 5, 2, 3, 6, 7};
    for (int32_t r = 0; r < rowCount; ++r)
      std::memcpy(outRows[r] + kSpp * x, pixels[kSlot[r]], roomAfter ? 8 : 6);
  }
};

}  // namespace simd
