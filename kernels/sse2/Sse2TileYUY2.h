// The horizontal filter of a whole tile of YUY2 rows in the SSE2 kernel, eight rows at a time
// in two groups of four, a 32-bit lane per row. Every four source pixels Y0 U0 Y1 V0 Y2 U1 Y3 V1
// of a group's rows are transposed into four vectors: the luma pairs (Y0, Y1) and (Y2, Y3), the
// chroma pairs (U0, U1) and (V0, V1), each of the four rows. A broadcast coefficient pair then
// meets a pair of four rows in one 16-bit multiply-add, with no sums across lanes; an output
// pixel pair is four such columns (luma even, U, luma odd, V), stored as each row's four bytes.
#pragma once

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "Sse2Ops.h"
#include "portable/SampleFormats.h"
#include "simd/TileStorage.h"
#include "simd/LaneTranspose.h"
#include "simd/TileRows.h"
#include "engine/ResizeParams.h"

namespace simd {

class Sse2TileYUY2 : public TileStorage<portable::YUY2Format, Sse2Ops> {
 public:
  static constexpr int32_t kRows = kTileRows;
  static constexpr int kGroups = kRows / 4;

  // The plain rows, then the luma pairs (two per four pixels), the U pairs and the V pairs
  // (one each), every pair once per group of rows.
  static int32_t BufferBytes(int32_t srcWidth) {
    return Bytes(srcWidth, 4 * kGroups * PixelGroups(srcWidth));
  }

  Sse2TileYUY2(const ResizeParams &p, void *buffer)
      : TileStorage(p, buffer),
        luma_(transposed_),
        u_(luma_ + 2 * kGroups * PixelGroups(p.SrcWidth)),
        v_(u_ + kGroups * PixelGroups(p.SrcWidth)) {}

  // Output pixels [xBegin, xEnd) of `rowCount` rows (at most kRows), xBegin even, from the rows
  // at `rows`, whose pixels [Begin, ReadEnd) of `columns` are read; pixels up to End read as
  // zeros. Output row r starts at `out` + r x lineSize bytes. The entries come in groups of
  // three per output pixel pair: luma of the even column, luma of the odd column, chroma.
  // The rows are read in full before any output is written, so they may be the output rows.
  void Filter(const uint8_t *const *rows, int32_t rowCount, const portable::TileColumns &columns,
              int32_t xBegin, int32_t xEnd, void *out, int32_t lineSize) const {
    const TileRowSet<uint8_t> tile(rows, rowCount, out, lineSize);
    Transpose(tile.In, columns);
    for (int32_t q = xBegin / 2; q < xEnd / 2; ++q) {
      const WeightEntry *group = p_.HWeights.Entries + 3 * q;
      __m128i evenLuma[kGroups], oddLuma[kGroups], u[kGroups], v[kGroups];
      DotLuma(group[0], evenLuma);
      DotLuma(group[1], oddLuma);
      DotChroma(group[2], u, v);
      alignas(16) uint32_t pixelPairs[kRows];  // row r's four bytes
      for (int g = 0; g < kGroups; ++g)
        _mm_store_si128(reinterpret_cast<__m128i *>(pixelPairs + 4 * g),
                        PixelPairBytes(evenLuma[g], u[g], oddLuma[g], v[g]));
      for (int32_t r = 0; r < rowCount; ++r)
        std::memcpy(tile.Out[r] + 4 * q, &pixelPairs[r], sizeof(uint32_t));
    }
    if (xEnd % 2 != 0) StoreLumaOnlyColumn(tile.Out, rowCount, xEnd / 2);
  }

 private:
  // Groups of four source pixels a row buffer holds, rounded up.
  static int32_t PixelGroups(int32_t srcWidth) {
    return (portable::RowCapacityPixels(srcWidth) + 3) / 4;
  }

  // The transposed pixel groups covering pixels [Begin, End): luma pair p of row group g is
  // vector kGroups * p + g (pixels 2p and 2p + 1), chroma pair k the U (V) of pixel pairs 2k
  // and 2k + 1; row 4g + i in lane i.
  void Transpose(const uint8_t *const *rows, const portable::TileColumns &columns) const {
    int32_t k = columns.Begin / 4;
    for (; 8 * k + 8 <= 2 * columns.ReadEnd; ++k)
      for (int g = 0; g < kGroups; ++g) TransposeGroup(rows + 4 * g, k, g);
    for (; k < (columns.End + 3) / 4; ++k) {
      alignas(16) uint16_t lanes[4][kRows][2] = {};  // luma pairs 2k and 2k + 1, U pair, V pair
      for (int32_t r = 0; r < kRows; ++r)
        for (int32_t i = 0; i < 4; ++i) {
          const int32_t x = 4 * k + i;
          if (x >= columns.ReadEnd) break;
          lanes[i / 2][r][i % 2] = rows[r][2 * x];
          lanes[2 + i % 2][r][i / 2] = rows[r][2 * x + 1];
        }
      for (int g = 0; g < kGroups; ++g) {
        luma_[kGroups * 2 * k + g] = LoadLanes(lanes[0][4 * g]);
        luma_[kGroups * (2 * k + 1) + g] = LoadLanes(lanes[1][4 * g]);
        u_[kGroups * k + g] = LoadLanes(lanes[2][4 * g]);
        v_[kGroups * k + g] = LoadLanes(lanes[3][4 * g]);
      }
    }
  }

  static __m128i LoadLanes(const uint16_t *lanes) {
    return _mm_load_si128(reinterpret_cast<const __m128i *>(lanes));
  }

  // Pixel group k of four rows: each row's 8 bytes become (Y0, Y1), (Y2, Y3), (U0, U1),
  // (V0, V1) as four 32-bit lanes, and the 4 x 4 block is transposed.
  void TransposeGroup(const uint8_t *const *rows, int32_t k, int g) const {
    __m128i r[4];
    for (int i = 0; i < 4; ++i) {
      // Y0 U0 Y1 V0 Y2 U1 Y3 V1 -> Y0 Y1 U0 V0 Y2 Y3 U1 V1 -> Y0 Y1 Y2 Y3 U0 V0 U1 V1
      // -> Y0 Y1 Y2 Y3 U0 U1 V0 V1
      __m128i samples = _mm_unpacklo_epi8(
          _mm_loadl_epi64(reinterpret_cast<const __m128i *>(rows[i] + 8 * k)), _mm_setzero_si128());
      samples = _mm_shufflehi_epi16(_mm_shufflelo_epi16(samples, _MM_SHUFFLE(3, 1, 2, 0)),
                                    _MM_SHUFFLE(3, 1, 2, 0));
      samples = _mm_shuffle_epi32(samples, _MM_SHUFFLE(3, 1, 2, 0));
      r[i] = _mm_shufflehi_epi16(samples, _MM_SHUFFLE(3, 1, 2, 0));
    }
    TransposeLanes(r);
    _mm_store_si128(luma_ + kGroups * 2 * k + g, r[0]);
    _mm_store_si128(luma_ + kGroups * (2 * k + 1) + g, r[1]);
    _mm_store_si128(u_ + kGroups * k + g, r[2]);
    _mm_store_si128(v_ + kGroups * k + g, r[3]);
  }

  static __m128i BroadcastPair(const int16_t *pair) {
    int32_t both;
    std::memcpy(&both, pair, sizeof(both));
    return _mm_set1_epi32(both);
  }

  // The luma sums of one output column, every row group: a coefficient pair is broadcast once
  // for all the groups, and the loop runs once per column.
  void DotLuma(const WeightEntry &entry, __m128i (&sums)[kGroups]) const {
    const __m128i *pair = luma_ + kGroups * pairOf_.Divide(entry.Offset);
    const int32_t count = PairCount(entry.Coeffs);
    for (int g = 0; g < kGroups; ++g) sums[g] = _mm_setzero_si128();
    // Two pairs per pass here and in DotChroma: a column has only a few, and the loop's own
    // work weighs less per pair.
    int32_t j = 0;
    for (; j + 2 <= count; j += 2, pair += 2 * kGroups) {
      AddLumaPair(entry.Coeffs + 2 * j, pair, sums);
      AddLumaPair(entry.Coeffs + 2 * j + 2, pair + kGroups, sums);
    }
    if (j < count) AddLumaPair(entry.Coeffs + 2 * j, pair, sums);
  }

  // Adds one coefficient pair's products with every row group's luma pairs at `pair`.
  static void AddLumaPair(const int16_t *coeffs, const __m128i *pair, __m128i (&sums)[kGroups]) {
    const __m128i both = BroadcastPair(coeffs);
    for (int g = 0; g < kGroups; ++g)
      sums[g] = _mm_add_epi32(sums[g], _mm_madd_epi16(_mm_load_si128(pair + g), both));
  }

  // The U and V sums of one output pixel pair, every row group; a chroma entry's Offset is its
  // first (even) chroma sample.
  void DotChroma(const WeightEntry &entry, __m128i (&uSums)[kGroups],
                 __m128i (&vSums)[kGroups]) const {
    const int32_t first = kGroups * (pairOf_.Divide(entry.Offset) / 2);
    const __m128i *u = u_ + first;
    const __m128i *v = v_ + first;
    const int32_t count = PairCount(entry.Coeffs);
    for (int g = 0; g < kGroups; ++g) uSums[g] = vSums[g] = _mm_setzero_si128();
    int32_t j = 0;
    for (; j + 2 <= count; j += 2, u += 2 * kGroups, v += 2 * kGroups) {
      AddChromaPair(entry.Coeffs + 2 * j, u, v, uSums, vSums);
      AddChromaPair(entry.Coeffs + 2 * j + 2, u + kGroups, v + kGroups, uSums, vSums);
    }
    if (j < count) AddChromaPair(entry.Coeffs + 2 * j, u, v, uSums, vSums);
  }

  // Adds one coefficient pair's products with every row group's U pairs at `u`, V pairs at `v`.
  static void AddChromaPair(const int16_t *coeffs, const __m128i *u, const __m128i *v,
                            __m128i (&uSums)[kGroups], __m128i (&vSums)[kGroups]) {
    const __m128i both = BroadcastPair(coeffs);
    for (int g = 0; g < kGroups; ++g) {
      uSums[g] = _mm_add_epi32(uSums[g], _mm_madd_epi16(_mm_load_si128(u + g), both));
      vSums[g] = _mm_add_epi32(vSums[g], _mm_madd_epi16(_mm_load_si128(v + g), both));
    }
  }

  // Four rows' output pixel pairs, descaled and clamped (saturating to 16 bits, then to bytes,
  // keeps the order of values): Y even, U, Y odd, V of row i in 32-bit lane i.
  static __m128i PixelPairBytes(__m128i evenLuma, __m128i u, __m128i oddLuma, __m128i v) {
    const __m128i luma = _mm_packs_epi32(Sse2Ops::Descale(evenLuma), Sse2Ops::Descale(oddLuma));
    const __m128i chroma = _mm_packs_epi32(Sse2Ops::Descale(u), Sse2Ops::Descale(v));
    const __m128i evenAndU = _mm_unpacklo_epi16(luma, chroma);
    const __m128i oddAndV = _mm_unpackhi_epi16(luma, chroma);
    return _mm_packus_epi16(_mm_unpacklo_epi32(evenAndU, oddAndV),
                            _mm_unpackhi_epi32(evenAndU, oddAndV));
  }

  // An odd width ends in a column with a luma entry and no chroma entry.
  void StoreLumaOnlyColumn(uint8_t *const *outRows, int32_t rowCount, int32_t q) const {
    __m128i sums[kGroups];
    DotLuma(p_.HWeights.Entries[3 * q], sums);
    alignas(16) int32_t luma[kRows];
    for (int g = 0; g < kGroups; ++g)
      _mm_store_si128(reinterpret_cast<__m128i *>(luma + 4 * g), Sse2Ops::Descale(sums[g]));
    for (int32_t r = 0; r < rowCount; ++r) {
      outRows[r][4 * q] = portable::YUY2Format::Clamp(luma[r]);
      outRows[r][4 * q + 1] = portable::YUY2Format::kNeutralChroma;
    }
  }

  __m128i *luma_, *u_, *v_;
};

}  // namespace simd
