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
// (AddPairProducts) and the stores of a full group's pixel pairs (StoreRowWords). The columns'
// coefficient pairs come padded to one count (UniformColumns.h).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/FixedPoint.h"
#include "common/SampleFormats.h"
#include "contracts/ResizeParams.h"
#include "contracts/WeightTable.h"
#include "simd/TileRows.h"
#include "simd/TileStorage.h"
#include "simd/UniformColumns.h"

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
  // (one each), every pair once per group of rows, the padding pairs' room after them, then
  // the uniform columns.
  static int32_t BufferBytes(int32_t srcWidth, int32_t dstWidth) {
    return Base::Bytes(srcWidth, TransposedVectors(srcWidth)) +
           Columns::Bytes(static_cast<int32_t>(YUY2EntryGroup::TableEntries(dstWidth)));
  }

  TileYUY2(const ResizeParams &p, void *buffer)
      : Base(p, buffer),
        luma_(this->transposed_),
        u_(luma_ + 2 * kGroups * PixelGroups(p.SrcWidth)),
        v_(u_ + kGroups * PixelGroups(p.SrcWidth)),
        columns_(p.HWeights.Entries,
                 static_cast<int32_t>(YUY2EntryGroup::TableEntries(p.DstWidth)), p.HStep,
                 this->transposed_ + TransposedVectors(p.SrcWidth)) {
    // Padding pairs past the V pairs multiply these by zero; they are cleared so that no pair
    // is ever read before it is written.
    for (int32_t i = 4 * kGroups * PixelGroups(p.SrcWidth); i < TransposedVectors(p.SrcWidth); ++i)
      Ops::Store(this->transposed_ + i, Ops::Zero());
  }

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
    WithUniformPairs(columns_.Pairs(), [&](auto pairs) {
      FilterPixelPairs<decltype(pairs)::value, kShift>(tile.Out, rowCount, xBegin / 2, xEnd / 2);
    });
    if (xEnd % 2 != 0) StoreLumaOnlyColumn<kShift>(tile.Out, rowCount, xEnd / 2);
  }

 private:
  using Columns = UniformColumns<2>;  // every YUY2 entry holds one coefficient pair per pair

  // Vectors of transposed pairs: a row's, and room for the padding pairs after the V pairs.
  static int32_t TransposedVectors(int32_t srcWidth) {
    return 4 * kGroups * PixelGroups(srcWidth) + kGroups * kMaxUniformPairs;
  }

  // Output pixel pairs [qBegin, qEnd), every entry with kPairs pairs of the uniform columns, or
  // (kPairs 0) with its own count from the table.
  template <int32_t kPairs, int Shift>
  void FilterPixelPairs(uint8_t *const *outs, int32_t rowCount, int32_t qBegin,
                        int32_t qEnd) const {
    int32_t q = qBegin;
    if constexpr (Ops::kYUY2PixelPairsAtOnce == 2)
      if (rowCount == kRows)
        for (; q + 1 < qEnd; q += 2) {
          Vec first[kGroups], second[kGroups];
          PixelPairWordsOf<kPairs, Shift>(q, first);
          PixelPairWordsOf<kPairs, Shift>(q + 1, second);
          for (int g = 0; g < kGroups; ++g)
            Ops::StoreRowWordPairs(outs + kLanes * g, 4 * q, first[g], second[g]);
        }
    for (; q < qEnd; ++q) {
      PixelPairSums sums;
      SumsOf<kPairs, Shift>(q, sums);
      StorePixelPairs<Shift>(outs, rowCount, q, sums);
    }
  }

  // The sums of an output pixel pair, every group of rows.
  struct PixelPairSums {
    Vec EvenLuma[kGroups], OddLuma[kGroups], U[kGroups], V[kGroups];
  };

  // Output pixel pair q's sums, to be descaled by Shift.
  template <int32_t kPairs, int Shift>
  [[gnu::always_inline]] void SumsOf(int32_t q, PixelPairSums &sums) const {
    const int32_t first = YUY2EntryGroup::kEntries * q;
    DotLuma<kPairs, Shift>(first, sums.EvenLuma);
    DotLuma<kPairs, Shift>(first + 1, sums.OddLuma);
    DotChroma<kPairs, Shift>(first + 2, sums.U, sums.V);
  }

  // Output pixel pair q of every group of rows, descaled by Shift and clamped: row i's four
  // bytes (Y even, U, Y odd, V) in 32-bit lane i of words[g].
  template <int32_t kPairs, int Shift>
  [[gnu::always_inline]] void PixelPairWordsOf(int32_t q, Vec (&words)[kGroups]) const {
    PixelPairSums sums;
    SumsOf<kPairs, Shift>(q, sums);
    for (int g = 0; g < kGroups; ++g) words[g] = PixelPairWords<Shift>(sums, g);
  }

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

  // The luma sums of table entry e, every row group, to be descaled by Shift: a coefficient
  // pair is broadcast once for all the groups, and the pairs are gone through once per column.
  template <int32_t kPairs, int Shift>
  [[gnu::always_inline]] void DotLuma(int32_t e, Vec (&sums)[kGroups]) const {
    const auto column = columns_.template Get<kPairs>(this->p_.HWeights.Entries, e, this->pairOf_);
    const Vec *pair = luma_ + kGroups * column.FirstPair;
    for (int g = 0; g < kGroups; ++g) sums[g] = Ops::template RoundingBias<Shift>();
    ForEachPair<kPairs>(column.Count, [&](int32_t j) {
      const Vec both = Ops::BroadcastPair(column.Coeffs + 2 * j);
      for (int g = 0; g < kGroups; ++g)
        sums[g] = Ops::AddPairProducts(sums[g], Ops::Load(pair + kGroups * j + g), both);
    });
  }

  // The U and V sums of table entry e, a chroma entry, every row group, to be descaled by
  // Shift; a chroma entry's Offset is its first (even) chroma sample.
  template <int32_t kPairs, int Shift>
  [[gnu::always_inline]] void DotChroma(int32_t e, Vec (&uSums)[kGroups],
                                       Vec (&vSums)[kGroups]) const {
    const auto column = columns_.template Get<kPairs>(this->p_.HWeights.Entries, e, this->pairOf_);
    const Vec *u = u_ + kGroups * (column.FirstPair / 2);
    const Vec *v = v_ + kGroups * (column.FirstPair / 2);
    for (int g = 0; g < kGroups; ++g) uSums[g] = vSums[g] = Ops::template RoundingBias<Shift>();
    ForEachPair<kPairs>(column.Count, [&](int32_t j) {
      const Vec both = Ops::BroadcastPair(column.Coeffs + 2 * j);
      for (int g = 0; g < kGroups; ++g) {
        uSums[g] = Ops::AddPairProducts(uSums[g], Ops::Load(u + kGroups * j + g), both);
        vSums[g] = Ops::AddPairProducts(vSums[g], Ops::Load(v + kGroups * j + g), both);
      }
    });
  }

  // Output pixel pair q of the rows, descaled by Shift and clamped, a group at a time: a full
  // group with the Ops' stores, the rows of a partial one through a buffer.
  template <int Shift>
  [[gnu::always_inline]] static void StorePixelPairs(uint8_t *const *outRows, int32_t rowCount,
                                                    int32_t q, const PixelPairSums &sums) {
    for (int g = 0; g < kGroups && kLanes * g < rowCount; ++g) {
      const Vec words = PixelPairWords<Shift>(sums, g);
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

  // Group g's output pixel pairs, descaled and clamped (saturating to 16 bits, then to bytes,
  // keeps the order of values): Y even, U, Y odd, V of row i in 32-bit lane i.
  template <int Shift>
  [[gnu::always_inline]] static Vec PixelPairWords(const PixelPairSums &sums, int g) {
    const Vec luma = Ops::PackSigned32(Ops::template Descale<Shift>(sums.EvenLuma[g]),
                                       Ops::template Descale<Shift>(sums.OddLuma[g]));
    const Vec chroma = Ops::PackSigned32(Ops::template Descale<Shift>(sums.U[g]),
                                         Ops::template Descale<Shift>(sums.V[g]));
    const Vec evenAndU = Ops::InterleaveLow16(luma, chroma);
    const Vec oddAndV = Ops::InterleaveHigh16(luma, chroma);
    return Ops::PackUnsigned16(Ops::InterleaveLow32(evenAndU, oddAndV),
                               Ops::InterleaveHigh32(evenAndU, oddAndV));
  }

  // An odd width ends in a column with a luma entry and no chroma entry.
  template <int Shift>
  void StoreLumaOnlyColumn(uint8_t *const *outRows, int32_t rowCount, int32_t q) const {
    Vec sums[kGroups];
    DotLuma<0, Shift>(YUY2EntryGroup::kEntries * q, sums);
    alignas(sizeof(Vec)) int32_t luma[kRows];
    for (int g = 0; g < kGroups; ++g)
      Ops::Store(luma + kLanes * g, Ops::template Descale<Shift>(sums[g]));
    for (int32_t r = 0; r < rowCount; ++r) {
      outRows[r][4 * q] = YUY2Format::Clamp(luma[r]);
      outRows[r][4 * q + 1] = YUY2Format::kNeutralChroma;
    }
  }

  Vec *luma_, *u_, *v_;
  const Columns columns_;
};

}  // namespace kernels::simd
