// The horizontal filter of a whole tile of YUY2 rows, written once over an instruction set's
// vector operations (`Ops`). Every four source pixels Y0 U0 Y1 V0 Y2 U1 Y3 V1 of a group's rows
// (as many rows as a vector has lanes) are transposed into four vectors: the luma pairs
// (Y0, Y1) and (Y2, Y3), the chroma pairs (U0, U1) and (V0, V1), a 32-bit lane per row. A
// broadcast coefficient pair then meets a pair of every row of the group in one 16-bit
// multiply-add, with no sums across lanes; an output pixel pair is four such columns (luma even,
// U, luma odd, V), stored as each row's four bytes. The rows are the frame's bytes (width only)
// or the combined pass's 16-bit plain rows (SampleFormats.h), whose samples make the same
// pairs. Sums wrap around and are descaled and clamped like the portable filter's.
//
// From the Ops it takes the group transpose (TransposeYUY2Group), the multiply-add of a column
// (AddPairProducts, kTilePairsPerPass at a time) and the stores of a full group's pixel pairs
// (StoreRowWords).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/FixedPoint.h"
#include "common/SampleFormats.h"
#include "engine/ResizeParams.h"
#include "engine/WeightTable.h"
#include "simd/TileRows.h"
#include "simd/TileStorage.h"

namespace kernels::simd {

template <class Ops>
class TileYUY2 : public TileStorage<YUY2Format, Ops> {
  using Base = TileStorage<YUY2Format, Ops>;
  using Vec = typename Ops::Vec;

 public:
  static constexpr int32_t kRows = Base::kRows;
  static constexpr int kLanes = Ops::kLanes;  // rows of a group
  static constexpr int kGroups = kRows / kLanes;
  static_assert(kGroups * kLanes == kRows, "whole groups of rows");

  // The plain rows, then the luma pairs (two per four pixels), the U pairs and the V pairs
  // (one each), every pair once per group of rows.
  static int32_t BufferBytes(int32_t srcWidth, int32_t) {
    return Base::Bytes(srcWidth, 4 * kGroups * PixelGroups(srcWidth));
  }

  TileYUY2(const ResizeParams &p, void *buffer)
      : Base(p, buffer),
        luma_(this->transposed_),
        u_(luma_ + 2 * kGroups * PixelGroups(p.SrcWidth)),
        v_(u_ + kGroups * PixelGroups(p.SrcWidth)) {}

  // Output pixels [xBegin, xEnd) of `rowCount` rows (at most kRows), xBegin even, from the rows
  // at `rows` (bytes or plain rows), whose pixels [Begin, ReadEnd) of `columns` are read;
  // pixels up to End read as zeros. Output row r starts at `out` + r x lineSize bytes. The rows
  // are read in full before any output is written, so they may be the output rows.
  template <typename In>
  void Filter(const In *const *rows, int32_t rowCount, const TileColumns &columns,
              int32_t xBegin, int32_t xEnd, void *out, int32_t lineSize) const {
    constexpr int kShift = DescaleShift(kFractionBitsOf<YUY2Format, In>, 0);
    const TileRowSet<In, kRows, uint8_t> tile(rows, rowCount, out, lineSize);
    Transpose(tile.In, columns);
    for (int32_t q = xBegin / 2; q < xEnd / 2; ++q) {
      const YUY2EntryGroup group(this->p_.HWeights.Entries, q);
      Vec evenLuma[kGroups], oddLuma[kGroups], u[kGroups], v[kGroups];
      DotLuma<kShift>(group.EvenLuma(), evenLuma);
      DotLuma<kShift>(group.OddLuma(), oddLuma);
      DotChroma<kShift>(group.Chroma(), u, v);
      StorePixelPairs<kShift>(tile.Out, rowCount, q, evenLuma, u, oddLuma, v);
    }
    if (xEnd % 2 != 0) StoreLumaOnlyColumn<kShift>(tile.Out, rowCount, xEnd / 2);
  }

 private:
  static constexpr int kPairsPerPass = Ops::kTilePairsPerPass;

  // Groups of four source pixels a row buffer holds, rounded up.
  static int32_t PixelGroups(int32_t srcWidth) { return (RowCapacityPixels(srcWidth) + 3) / 4; }

  // The transposed pixel groups covering pixels [Begin, End): luma pair p of row group g is
  // vector kGroups * p + g (pixels 2p and 2p + 1), chroma pair k the U (V) of pixel pairs 2k
  // and 2k + 1; row kLanes * g + i in lane i.
  template <typename In>
  void Transpose(const In *const *rows, const TileColumns &columns) const {
    int32_t k = columns.Begin / 4;
    for (; 8 * k + 8 <= 2 * columns.ReadEnd; ++k)
      for (int g = 0; g < kGroups; ++g) {
        Vec pairs[4];
        Ops::TransposeYUY2Group(rows + kLanes * g, k, pairs);
        StoreGroup(k, g, pairs);
      }
    for (; k < (columns.End + 3) / 4; ++k) {
      alignas(sizeof(Vec)) uint16_t lanes[4][kRows][2] = {};  // luma pairs, U pair, V pair
      for (int32_t r = 0; r < kRows; ++r)
        for (int32_t i = 0; i < 4; ++i) {
          const int32_t x = 4 * k + i;
          if (x >= columns.ReadEnd) break;
          lanes[i / 2][r][i % 2] = static_cast<uint16_t>(rows[r][2 * x]);
          lanes[2 + i % 2][r][i / 2] = static_cast<uint16_t>(rows[r][2 * x + 1]);
        }
      for (int g = 0; g < kGroups; ++g) {
        const Vec pairs[4] = {Ops::Load(lanes[0][kLanes * g]), Ops::Load(lanes[1][kLanes * g]),
                              Ops::Load(lanes[2][kLanes * g]), Ops::Load(lanes[3][kLanes * g])};
        StoreGroup(k, g, pairs);
      }
    }
  }

  // Pixel group k of row group g: luma pairs 2k and 2k + 1, U pair k, V pair k.
  void StoreGroup(int32_t k, int g, const Vec (&pairs)[4]) const {
    Ops::Store(luma_ + kGroups * 2 * k + g, pairs[0]);
    Ops::Store(luma_ + kGroups * (2 * k + 1) + g, pairs[1]);
    Ops::Store(u_ + kGroups * k + g, pairs[2]);
    Ops::Store(v_ + kGroups * k + g, pairs[3]);
  }

  // The luma sums of one output column, every row group, to be descaled by Shift: a coefficient
  // pair is broadcast once for all the groups, and the loop runs once per column.
  template <int Shift>
  void DotLuma(const WeightEntry &entry, Vec (&sums)[kGroups]) const {
    const Vec *pair = luma_ + kGroups * this->pairOf_.Divide(entry.Offset);
    const int32_t count = PairCount(entry.Coeffs);
    for (int g = 0; g < kGroups; ++g) sums[g] = Ops::template RoundingBias<Shift>();
    int32_t j = 0;
    for (; j + kPairsPerPass <= count; j += kPairsPerPass, pair += kPairsPerPass * kGroups)
      for (int i = 0; i < kPairsPerPass; ++i)
        AddLumaPair(entry.Coeffs + 2 * (j + i), pair + i * kGroups, sums);
    for (; j < count; ++j, pair += kGroups) AddLumaPair(entry.Coeffs + 2 * j, pair, sums);
  }

  // Adds one coefficient pair's products with every row group's luma pairs at `pair`.
  static void AddLumaPair(const int16_t *coeffs, const Vec *pair, Vec (&sums)[kGroups]) {
    const Vec both = Ops::BroadcastPair(coeffs);
    for (int g = 0; g < kGroups; ++g)
      sums[g] = Ops::AddPairProducts(sums[g], Ops::Load(pair + g), both);
  }

  // The U and V sums of one output pixel pair, every row group, to be descaled by Shift; a chroma
  // entry's Offset is its first (even) chroma sample.
  template <int Shift>
  void DotChroma(const WeightEntry &entry, Vec (&uSums)[kGroups], Vec (&vSums)[kGroups]) const {
    const int32_t first = kGroups * (this->pairOf_.Divide(entry.Offset) / 2);
    const Vec *u = u_ + first;
    const Vec *v = v_ + first;
    const int32_t count = PairCount(entry.Coeffs);
    for (int g = 0; g < kGroups; ++g) uSums[g] = vSums[g] = Ops::template RoundingBias<Shift>();
    int32_t j = 0;
    for (; j + kPairsPerPass <= count;
         j += kPairsPerPass, u += kPairsPerPass * kGroups, v += kPairsPerPass * kGroups)
      for (int i = 0; i < kPairsPerPass; ++i)
        AddChromaPair(entry.Coeffs + 2 * (j + i), u + i * kGroups, v + i * kGroups, uSums, vSums);
    for (; j < count; ++j, u += kGroups, v += kGroups)
      AddChromaPair(entry.Coeffs + 2 * j, u, v, uSums, vSums);
  }

  // Adds one coefficient pair's products with every row group's U pairs at `u`, V pairs at `v`.
  static void AddChromaPair(const int16_t *coeffs, const Vec *u, const Vec *v,
                            Vec (&uSums)[kGroups], Vec (&vSums)[kGroups]) {
    const Vec both = Ops::BroadcastPair(coeffs);
    for (int g = 0; g < kGroups; ++g) {
      uSums[g] = Ops::AddPairProducts(uSums[g], Ops::Load(u + g), both);
      vSums[g] = Ops::AddPairProducts(vSums[g], Ops::Load(v + g), both);
    }
  }

  // Output pixel pair q of the rows, descaled by Shift and clamped: a full group with the Ops'
  // stores, the rows of a partial one through a buffer.
  template <int Shift>
  static void StorePixelPairs(uint8_t *const *outRows, int32_t rowCount, int32_t q,
                              const Vec (&evenLuma)[kGroups], const Vec (&u)[kGroups],
                              const Vec (&oddLuma)[kGroups], const Vec (&v)[kGroups]) {
    for (int g = 0; g < kGroups && kLanes * g < rowCount; ++g) {
      const Vec words = PixelPairWords<Shift>(evenLuma[g], u[g], oddLuma[g], v[g]);
      uint8_t *const *groupRows = outRows + kLanes * g;
      const int32_t groupRowCount = std::min(rowCount - kLanes * g, kLanes);
      if (groupRowCount == kLanes) {
        Ops::StoreRowWords(groupRows, 4 * q, words);
        continue;
      }
      alignas(sizeof(Vec)) uint32_t pixelPairs[kLanes];
      Ops::Store(pixelPairs, words);
      for (int32_t r = 0; r < groupRowCount; ++r)
        std::memcpy(groupRows[r] + 4 * q, &pixelPairs[r], sizeof(uint32_t));
    }
  }

  // A group's output pixel pairs, descaled and clamped (saturating to 16 bits, then to bytes,
  // keeps the order of values): Y even, U, Y odd, V of row i in 32-bit lane i.
  template <int Shift>
  static Vec PixelPairWords(Vec evenLuma, Vec u, Vec oddLuma, Vec v) {
    const Vec luma = Ops::PackSigned32(Ops::template Descale<Shift>(evenLuma),
                                       Ops::template Descale<Shift>(oddLuma));
    const Vec chroma =
        Ops::PackSigned32(Ops::template Descale<Shift>(u), Ops::template Descale<Shift>(v));
    const Vec evenAndU = Ops::InterleaveLow16(luma, chroma);
    const Vec oddAndV = Ops::InterleaveHigh16(luma, chroma);
    return Ops::PackUnsigned16(Ops::InterleaveLow32(evenAndU, oddAndV),
                               Ops::InterleaveHigh32(evenAndU, oddAndV));
  }

  // An odd width ends in a column with a luma entry and no chroma entry.
  template <int Shift>
  void StoreLumaOnlyColumn(uint8_t *const *outRows, int32_t rowCount, int32_t q) const {
    Vec sums[kGroups];
    DotLuma<Shift>(YUY2EntryGroup(this->p_.HWeights.Entries, q).EvenLuma(), sums);
    alignas(sizeof(Vec)) int32_t luma[kRows];
    for (int g = 0; g < kGroups; ++g)
      Ops::Store(luma + kLanes * g, Ops::template Descale<Shift>(sums[g]));
    for (int32_t r = 0; r < rowCount; ++r) {
      outRows[r][4 * q] = YUY2Format::Clamp(luma[r]);
      outRows[r][4 * q + 1] = YUY2Format::kNeutralChroma;
    }
  }

  Vec *luma_, *u_, *v_;
};

}  // namespace kernels::simd
