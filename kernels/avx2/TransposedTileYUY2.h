// The horizontal filter of a whole tile of YUY2 rows in the AVX2 kernel, eight rows at a time
// (TransposedTile.h). Every four source pixels Y0 U0 Y1 V0 Y2 U1 Y3 V1 of the eight rows are
// transposed into four vectors: the luma pairs (Y0, Y1) and (Y2, Y3), the chroma pairs (U0, U1)
// and (V0, V1), each of the eight rows. An output pixel pair of the eight rows is then four
// columns of multiply-adds (luma even, U, luma odd, V), stored as each row's four bytes.
#pragma once

#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "avx2/Avx2Ops.h"
#include "avx2/TransposedTile.h"
#include "portable/SampleFormats.h"
#include "simd/TileStorage.h"
#include "engine/ResizeParams.h"

namespace simd {

class TransposedTileYUY2 : public TileStorage<portable::YUY2Format, Avx2Ops> {
 public:
  static constexpr int32_t kRows = kTileRows;

  // The plain rows, then the luma pairs (two per group of four pixels), the U pairs and the
  // V pairs (one each).
  static int32_t BufferBytes(int32_t srcWidth) {
    return Bytes(srcWidth, 4 * Groups(srcWidth));
  }

  TransposedTileYUY2(const ResizeParams &p, void *buffer)
      : TileStorage(p, buffer),
        luma_(transposed_),
        u_(luma_ + 2 * Groups(p.SrcWidth)),
        v_(u_ + Groups(p.SrcWidth)) {}

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
      const __m256i evenLuma = LumaColumn(group[0]);
      const __m256i oddLuma = LumaColumn(group[1]);
      const __m256i *u = u_ + pairOf_.Divide(group[2].Offset) / 2;
      const __m256i *v = v_ + (u - u_);
      __m256i uSums = _mm256_setzero_si256(), vSums = _mm256_setzero_si256();
      const int32_t count = PairCount(group[2].Coeffs);
      for (int32_t j = 0; j < count; ++j) {
        const __m256i coeffs = BroadcastPair(group[2].Coeffs + 2 * j);
        uSums = _mm256_add_epi32(uSums, _mm256_madd_epi16(_mm256_load_si256(u + j), coeffs));
        vSums = _mm256_add_epi32(vSums, _mm256_madd_epi16(_mm256_load_si256(v + j), coeffs));
      }
      StorePixelPairs(tile.Out, rowCount, q, evenLuma, uSums, oddLuma, vSums);
    }
    if (xEnd % 2 != 0) StoreLumaOnlyColumn(tile.Out, rowCount, xEnd / 2);
  }

 private:
  // Groups of four source pixels a row buffer holds, rounded up.
  static int32_t Groups(int32_t srcWidth) {
    return (portable::RowCapacityPixels(srcWidth) + 3) / 4;
  }

  // The transposed groups covering pixels [Begin, End): luma pair 2g + t holds pixels
  // 4g + 2t and 4g + 2t + 1, chroma pair g the U (V) of pixel pairs 2g and 2g + 1.
  void Transpose(const uint8_t *const *rows, const portable::TileColumns &columns) const {
    int32_t g = columns.Begin / 4;
    for (; 8 * g + 8 <= 2 * columns.ReadEnd; ++g) TransposeGroup(rows, g);
    for (; g < (columns.End + 3) / 4; ++g) {
      alignas(32) uint16_t lanes[4][kRows][2] = {};  // luma pairs, U pair, V pair
      for (int32_t r = 0; r < kRows; ++r)
        for (int32_t i = 0; i < 4; ++i) {
          const int32_t x = 4 * g + i;
          if (x >= columns.ReadEnd) break;
          lanes[i / 2][r][i % 2] = rows[r][2 * x];
          lanes[2 + i % 2][r][i / 2] = rows[r][2 * x + 1];
        }
      luma_[2 * g] = _mm256_load_si256(reinterpret_cast<const __m256i *>(lanes[0]));
      luma_[2 * g + 1] = _mm256_load_si256(reinterpret_cast<const __m256i *>(lanes[1]));
      u_[g] = _mm256_load_si256(reinterpret_cast<const __m256i *>(lanes[2]));
      v_[g] = _mm256_load_si256(reinterpret_cast<const __m256i *>(lanes[3]));
    }
  }

  // Each row's 8 bytes become (Y0, Y1), (Y2, Y3), (U0, U1), (V0, V1) as four 32-bit lanes, rows
  // r and r + 4 side by side, and the 4 x 4 blocks are transposed.
  void TransposeGroup(const uint8_t *const *rows, int32_t g) const {
    const __m256i toPairs =
        _mm256_setr_epi8(0, -1, 2, -1, 4, -1, 6, -1, 1, -1, 5, -1, 3, -1, 7, -1,
                         0, -1, 2, -1, 4, -1, 6, -1, 1, -1, 5, -1, 3, -1, 7, -1);
    __m256i r[4];
    for (int i = 0; i < 4; ++i)
      r[i] = RowsSideBySide(LoadGroup(rows[i], g), LoadGroup(rows[i + 4], g), toPairs);
    TransposeLanes(r);
    _mm256_store_si256(luma_ + 2 * g, r[0]);
    _mm256_store_si256(luma_ + 2 * g + 1, r[1]);
    _mm256_store_si256(u_ + g, r[2]);
    _mm256_store_si256(v_ + g, r[3]);
  }

  static __m128i LoadGroup(const uint8_t *row, int32_t g) {
    return _mm_loadl_epi64(reinterpret_cast<const __m128i *>(row + 8 * g));
  }

  // The luma sums of one output column of the eight rows.
  __m256i LumaColumn(const WeightEntry &entry) const {
    return DotTransposed(_mm256_setzero_si256(), luma_ + pairOf_.Divide(entry.Offset),
                         entry.Coeffs, PairCount(entry.Coeffs), 2);
  }

  // Output pixel pair q of the rows, descaled and clamped (saturating to 16 bits, then to
  // bytes, keeps the order of values): Y even, U, Y odd, V of each row.
  static void StorePixelPairs(uint8_t *const *outRows, int32_t rowCount, int32_t q,
                              __m256i evenLuma, __m256i u, __m256i oddLuma, __m256i v) {
    const __m256i luma = _mm256_packs_epi32(DescaleRows(evenLuma), DescaleRows(oddLuma));
    const __m256i chroma = _mm256_packs_epi32(DescaleRows(u), DescaleRows(v));
    const __m256i evenAndU = _mm256_unpacklo_epi16(luma, chroma);  // Ye U per row, rows 0-3
    const __m256i oddAndV = _mm256_unpackhi_epi16(luma, chroma);   // Yo V per row, rows 0-3
    const __m256i bytes = _mm256_packus_epi16(_mm256_unpacklo_epi32(evenAndU, oddAndV),
                                              _mm256_unpackhi_epi32(evenAndU, oddAndV));
    // Row r's four bytes in 32-bit lane r.
    if (rowCount == kRows) {
      const __m128i rows0to3 = _mm256_castsi256_si128(bytes);
      const __m128i rows4to7 = _mm256_extracti128_si256(bytes, 1);
      StoreWord(outRows[0] + 4 * q, _mm_cvtsi128_si32(rows0to3));
      StoreWord(outRows[1] + 4 * q, _mm_extract_epi32(rows0to3, 1));
      StoreWord(outRows[2] + 4 * q, _mm_extract_epi32(rows0to3, 2));
      StoreWord(outRows[3] + 4 * q, _mm_extract_epi32(rows0to3, 3));
      StoreWord(outRows[4] + 4 * q, _mm_cvtsi128_si32(rows4to7));
      StoreWord(outRows[5] + 4 * q, _mm_extract_epi32(rows4to7, 1));
      StoreWord(outRows[6] + 4 * q, _mm_extract_epi32(rows4to7, 2));
      StoreWord(outRows[7] + 4 * q, _mm_extract_epi32(rows4to7, 3));
      return;
    }
    alignas(32) uint32_t pixelPairs[kRows];
    _mm256_store_si256(reinterpret_cast<__m256i *>(pixelPairs), bytes);
    for (int32_t r = 0; r < rowCount; ++r) StoreWord(outRows[r] + 4 * q, pixelPairs[r]);
  }

  static void StoreWord(uint8_t *out, uint32_t word) { std::memcpy(out, &word, sizeof(word)); }

  // An odd width ends in a column with a luma entry and no chroma entry.
  void StoreLumaOnlyColumn(uint8_t *const *outRows, int32_t rowCount, int32_t q) const {
    alignas(32) int32_t luma[kRows];
    _mm256_store_si256(reinterpret_cast<__m256i *>(luma),
                       DescaleRows(LumaColumn(p_.HWeights.Entries[3 * q])));
    for (int32_t r = 0; r < rowCount; ++r) {
      outRows[r][4 * q] = portable::YUY2Format::Clamp(luma[r]);
      outRows[r][4 * q + 1] = portable::YUY2Format::kNeutralChroma;
    }
  }

  __m256i *luma_, *u_, *v_;
};

}  // namespace simd
