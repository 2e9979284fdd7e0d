// The horizontal filter of a whole tile of YC48 rows in the SSE2 kernel, eight rows at a time
// in two groups of four, a 32-bit lane per row. The rows are first transposed: for every source
// pixel pair, channel (Y, Cb, Cr) and group, one vector of the four rows' sample pairs, so that
// a broadcast coefficient pair meets the pair of four rows in one 16-bit multiply-add and an
// output column needs no sums across lanes. The rows' outputs are interleaved back into pixels
// when they are stored. Sums wrap around and are descaled and clamped like the portable filter.
#pragma once

#include <emmintrin.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "Sse2Ops.h"
#include "simd/HalfStores.h"
#include "simd/LaneTranspose.h"
#include "portable/SampleFormats.h"
#include "simd/TileStorage.h"
#include "simd/TileRows.h"
#include "engine/ResizeParams.h"

namespace simd {

template <class Layout>
class Sse2TileYC48 : public TileStorage<portable::YC48Format, Sse2Ops> {
 public:
  static constexpr int32_t kRows = kTileRows;
  static constexpr int kSpp = portable::YC48Format::kSamplesPerPixel;
  static constexpr int kGroups = kRows / 4;

  // The plain rows for the vertical filter's output, then the transposed pairs.
  static int32_t BufferBytes(int32_t srcWidth) {
    return Bytes(srcWidth, portable::RowCapacityPixels(srcWidth) / 2 * kVectorsPerPair);
  }

  Sse2TileYC48(const ResizeParams &p, void *buffer) : TileStorage(p, buffer) {}

  // Output pixels [xBegin, xEnd) of `rowCount` rows (at most kRows) from the rows at `rows`,
  // whose pixels [Begin, ReadEnd) of `columns` are read; pixels up to End read as zeros. Output
  // row r starts at `out` + r x lineSize bytes. The rows are read in full before any output is
  // written, so they may be the output rows.
  void Filter(const int16_t *const *rows, int32_t rowCount, const portable::TileColumns &columns,
              int32_t xBegin, int32_t xEnd, void *out, int32_t lineSize) const {
    const TileRowSet<int16_t> tile(rows, rowCount, out, lineSize);
    Transpose(tile.In, columns);
    // A group of four rows at a time: its three sums stay in registers.
    for (int g = 0; g < kGroups && 4 * g < rowCount; ++g) {
      const int32_t groupRows = std::min(rowCount - 4 * g, 4);
      int16_t *const *outRows = tile.Out + 4 * g;
      for (int32_t x = xBegin; x < xEnd; ++x) {
        __m128i pixels[2];  // rows 0 and 1, 2 and 3 of the group: (Y, Cb, Cr, 0) each
        FilterColumn(p_.HWeights.Entries[x], g, pixels);
        if (groupRows == 4 && x + 1 < xEnd)
          StoreFullColumn(outRows, x, pixels);
        else
          StoreColumn(outRows, groupRows, x, x + 1 < xEnd, pixels);
      }
    }
  }

 private:
  static constexpr int kVectorsPerPair = kSpp * kGroups;

  // The transposed pairs [Begin / 2, End / 2): vector kVectorsPerPair * q + kSpp * g + s holds
  // channel s's sample pair (even pixel, odd pixel) of pixel pair q, row 4g + i in lane i.
  void Transpose(const int16_t *const *rows, const portable::TileColumns &columns) const {
    int32_t q = columns.Begin / 2;
    // A 16-byte load at pair q reads 4 bytes past the pair: stop where that leaves the rows.
    for (; 12 * q + 16 <= kSpp * 2 * columns.ReadEnd; ++q)
      for (int g = 0; g < kGroups; ++g)
        TransposeGroup(rows + 4 * g, transposed_ + kVectorsPerPair * q + kSpp * g, q);
    for (; q < columns.End / 2; ++q) {
      alignas(16) int32_t lanes[kSpp][kRows] = {};
      for (int32_t r = 0; r < kRows; ++r)
        for (int t = 0; t < 2; ++t)
          if (2 * q + t < columns.ReadEnd)
            for (int s = 0; s < kSpp; ++s) {
              const uint16_t sample = static_cast<uint16_t>(rows[r][(2 * q + t) * kSpp + s]);
              lanes[s][r] |= static_cast<int32_t>(sample) << (16 * t);
            }
      for (int g = 0; g < kGroups; ++g)
        for (int s = 0; s < kSpp; ++s)
          transposed_[kVectorsPerPair * q + kSpp * g + s] =
              _mm_load_si128(reinterpret_cast<const __m128i *>(lanes[s] + 4 * g));
    }
  }

  // Pixel pair q of four rows: each row's pair is reordered to (Y pair, Cb pair, Cr pair,
  // unused) as four 32-bit lanes, and the 4 x 4 block transposed.
  static void TransposeGroup(const int16_t *const *rows, __m128i *pair, int32_t q) {
    __m128i r[4];
    for (int i = 0; i < 4; ++i) {
      const __m128i pixels =
          _mm_loadu_si128(reinterpret_cast<const __m128i *>(rows[i] + 2 * kSpp * q));
      r[i] = _mm_unpacklo_epi16(pixels, _mm_srli_si128(pixels, 6));
    }
    TransposeLanes(r);
    for (int s = 0; s < kSpp; ++s) _mm_store_si128(pair + s, r[s]);
  }

  // One output column of the four rows of group g, descaled and clamped, as pixels (Y, Cb,
  // Cr, 0) of 16-bit samples, two rows per vector.
  void FilterColumn(const WeightEntry &entry, int g, __m128i (&pixels)[2]) const {
    const __m128i *pair = transposed_ + kVectorsPerPair * pairOf_.Divide(entry.Offset) + kSpp * g;
    const int32_t count = PairCount(entry.Coeffs);
    __m128i sums[kSpp];
    for (int s = 0; s < kSpp; ++s) sums[s] = _mm_setzero_si128();
    for (int32_t j = 0; j < count; ++j, pair += kVectorsPerPair) {
      const int16_t *coeffs = entry.Coeffs + j * Layout::kPairCoeffs;
      const __m128i luma = BroadcastPair(coeffs + Layout::SetOffset(portable::kLumaSet));
      const __m128i chroma = BroadcastPair(coeffs + Layout::SetOffset(portable::kChromaSet));
      for (int s = 0; s < kSpp; ++s)
        sums[s] = _mm_add_epi32(sums[s], _mm_madd_epi16(_mm_load_si128(pair + s),
                                                        s == 0 ? luma : chroma));
    }
    const __m128i yCr = _mm_packs_epi32(Sse2Ops::Descale(sums[0]), Sse2Ops::Descale(sums[2]));
    const __m128i cb0 = _mm_packs_epi32(Sse2Ops::Descale(sums[1]), _mm_setzero_si128());
    const __m128i yCb = _mm_unpacklo_epi16(yCr, cb0);
    const __m128i cr0 = _mm_unpackhi_epi16(yCr, cb0);
    pixels[0] = _mm_unpacklo_epi32(yCb, cr0);
    pixels[1] = _mm_unpackhi_epi32(yCb, cr0);
  }

  static __m128i BroadcastPair(const int16_t *pair) {
    int32_t both;
    std::memcpy(&both, pair, sizeof(both));
    return _mm_set1_epi32(both);
  }

  // Stores 8 bytes per row of a group: the fourth sample lands on the next pixel, written
  // afterwards.
  static void StoreFullColumn(int16_t *const *outRows, int32_t x, const __m128i (&pixels)[2]) {
    for (int32_t i = 0; i < 2; ++i) {
      StoreLowHalf(outRows[2 * i] + kSpp * x, pixels[i]);
      StoreHighHalf(outRows[2 * i + 1] + kSpp * x, pixels[i]);
    }
  }

  // The rows [0, rowCount) of a group's column, 6 bytes per row, or 8 with room after the pixel.
  static void StoreColumn(int16_t *const *outRows, int32_t rowCount, int32_t x, bool roomAfter,
                          const __m128i (&pixels)[2]) {
    alignas(16) int16_t rowPixels[4][4];
    for (int32_t i = 0; i < 2; ++i)
      _mm_store_si128(reinterpret_cast<__m128i *>(rowPixels[2 * i]), pixels[i]);
    for (int32_t r = 0; r < rowCount; ++r)
      std::memcpy(outRows[r] + kSpp * x, rowPixels[r], roomAfter ? 8 : 6);
  }
};

}  // namespace simd
