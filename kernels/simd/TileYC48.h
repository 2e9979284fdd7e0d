// The horizontal filter of a whole tile of YC48 rows, written once over an instruction set's
// vector operations (`Ops`). The rows are first transposed: for every source pixel pair,
// channel (Y, Cb, Cr) and group of rows, one vector of the group's sample pairs, a 32-bit lane
// per row, so that a broadcast coefficient pair meets the pair of every row of the group in one
// 16-bit multiply-add and an output column needs no sums across lanes. A group is as many rows
// as a vector has lanes; the groups' outputs are interleaved back into pixels when they are
// stored. Sums wrap around and are descaled and clamped like the portable filter's.
//
// From the Ops it takes the group transpose (TransposeYC48Pair), the multiply-add of a column
// (AddPairProducts) and the stores of a full group's column (StoreYC48Column), or of two
// neighbouring columns at once where the Ops offer it (StoreYC48Columns).
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "common/FixedPoint.h"
#include "common/SampleFormats.h"
#include "contracts/ResizeParams.h"
#include "simd/TileRows.h"
#include "simd/TileStorage.h"
#include "simd/UniformColumns.h"

namespace kernels::simd {

template <class Ops, class Layout>
class TileYC48 : public TileStorage<YC48Format, Ops> {
  using Base = TileStorage<YC48Format, Ops>;
  using Vec = typename Ops::Vec;

 public:
  static constexpr int32_t kRows = Base::kRows;
  static constexpr int kSpp = YC48Format::kSamplesPerPixel;
  static constexpr int kLanes = Ops::kLanes;  // rows of a group
  static constexpr int kGroups = kRows / kLanes;
  static_assert(kGroups * kLanes == kRows, "whole groups of rows");

  // The plain rows for the vertical filter's output, the transposed pairs with the padding
  // pairs' room after them, then the uniform columns.
  static int32_t BufferBytes(int32_t srcWidth, int32_t dstWidth) {
    return Base::Bytes(srcWidth, TransposedPairs(srcWidth) * kVectorsPerPair) +
           Columns::Bytes(dstWidth);
  }

  TileYC48(const ResizeParams &p, void *buffer)
      : Base(p, buffer),
        columns_(p.HWeights.Entries, p.DstWidth, p.HStep,
                 this->transposed_ + TransposedPairs(p.SrcWidth) * kVectorsPerPair) {
    // Padding pairs multiply these by zero; they are cleared so that no pair is ever read
    // before it is written.
    const int32_t rowPairs = RowCapacityPixels(p.SrcWidth) / 2;
    for (int32_t v = rowPairs * kVectorsPerPair; v < TransposedPairs(p.SrcWidth) * kVectorsPerPair;
         ++v)
      Ops::Store(this->transposed_ + v, Ops::Zero());
  }

  // Output pixels [xBegin, xEnd) of `rowCount` rows (at most kRows) from the rows at `rows`,
  // whose pixels [Begin, ReadEnd) of `columns` are read; pixels up to End read as zeros. Output
  // row r starts at `out` + r x lineSize bytes. The rows are read in full before any output is
  // written, so they may be the output rows.
  [[gnu::always_inline]] void Filter(const int16_t *const *rows, int32_t rowCount,
                                     const TileColumns &columns, int32_t xBegin, int32_t xEnd,
                                     void *out, int32_t lineSize) const {
    if constexpr (Ops::kInlineYC48Tile)
      FilterInline(rows, rowCount, columns, xBegin, xEnd, out, lineSize);
    else
      FilterOutOfLine(rows, rowCount, columns, xBegin, xEnd, out, lineSize);
  }

 private:
  static constexpr int kVectorsPerPair = kSpp * kGroups;
  using Columns = UniformColumns<Layout::kPairCoeffs>;

  // Pixel pairs of transposed vectors: a row's, and room for the padding pairs after it.
  static int32_t TransposedPairs(int32_t srcWidth) {
    return RowCapacityPixels(srcWidth) / 2 + kMaxUniformPairs;
  }

  [[gnu::noinline]] void FilterOutOfLine(const int16_t *const *rows, int32_t rowCount,
                                         const TileColumns &columns, int32_t xBegin,
                                         int32_t xEnd, void *out, int32_t lineSize) const {
    FilterInline(rows, rowCount, columns, xBegin, xEnd, out, lineSize);
  }

  [[gnu::always_inline]] void FilterInline(const int16_t *const *rows, int32_t rowCount,
                                           const TileColumns &columns, int32_t xBegin,
                                           int32_t xEnd, void *out, int32_t lineSize) const {
    const TileRowSet<int16_t, kRows> tile(rows, rowCount, out, lineSize);
    Transpose(tile.In, columns);
    WithUniformPairs(columns_.Pairs(), [&](auto pairs) {
      FilterColumns<decltype(pairs)::value>(tile.Out, rowCount, xBegin, xEnd);
    });
  }

  // Output pixels [xBegin, xEnd) from the transposed pairs, every column with kPairs pairs of
  // the uniform columns, or (kPairs 0) with its own count from the table.
  template <int32_t kPairs>
  void FilterColumns(int16_t *const *outs, int32_t rowCount, int32_t xBegin,
                     int32_t xEnd) const {
    // A group at a time: its three sums stay in registers.
    for (int g = 0; g < kGroups && kLanes * g < rowCount; ++g) {
      const int32_t groupRows = std::min(rowCount - kLanes * g, kLanes);
      int16_t *const *outRows = outs + kLanes * g;
      int32_t x = xBegin;
      if constexpr (Ops::kYC48ColumnsAtOnce == 2)
        if (groupRows == kLanes)
          for (; x + 2 < xEnd; x += 2) {
            Vec first[2], second[2];
            FilterColumn<kPairs>(x, g, first);
            FilterColumn<kPairs>(x + 1, g, second);
            Ops::StoreYC48Columns(outRows, kSpp * x, first, second);
          }
      for (; x < xEnd; ++x) {
        Vec pixels[2];
        FilterColumn<kPairs>(x, g, pixels);
        if (groupRows == kLanes && x + 1 < xEnd)
          Ops::StoreYC48Column(outRows, kSpp * x, pixels);
        else
          StoreColumn(outRows, groupRows, x, x + 1 < xEnd, pixels);
      }
    }
  }

  // The transposed pairs [Begin / 2, End / 2): vector kVectorsPerPair * q + kSpp * g + s holds
  // channel s's sample pair (even pixel, odd pixel) of pixel pair q, row kLanes * g + i in lane i.
  void Transpose(const int16_t *const *rows, const TileColumns &columns) const {
    int32_t q = columns.Begin / 2;
    // The group transposes read a pixel pair with a 16-byte load, 4 bytes past the pair: stop
    // where that leaves the rows.
    for (; 12 * q + 16 <= kSpp * 2 * columns.ReadEnd; ++q)
      for (int g = 0; g < kGroups; ++g)
        Ops::TransposeYC48Pair(rows + kLanes * g, q,
                               this->transposed_ + kVectorsPerPair * q + kSpp * g);
    for (; q < columns.End / 2; ++q) {
      alignas(sizeof(Vec)) int32_t lanes[kSpp][kRows] = {};
      for (int32_t r = 0; r < kRows; ++r)
        for (int t = 0; t < 2; ++t)
          if (2 * q + t < columns.ReadEnd)
            for (int s = 0; s < kSpp; ++s) {
              const uint16_t sample = static_cast<uint16_t>(rows[r][(2 * q + t) * kSpp + s]);
              lanes[s][r] |= static_cast<int32_t>(sample) << (16 * t);
            }
      for (int g = 0; g < kGroups; ++g)
        for (int s = 0; s < kSpp; ++s)
          this->transposed_[kVectorsPerPair * q + kSpp * g + s] = Ops::Load(lanes[s] + kLanes * g);
    }
  }

  // Output column x of the rows of group g, descaled and clamped, as pixels (Y, Cb, Cr, 0) of
  // 16-bit samples: in each 128-bit block h, pixels[v] holds rows 4h + 2v and 4h + 2v + 1.
  template <int32_t kPairs>
  void FilterColumn(int32_t x, int g, Vec (&pixels)[2]) const {
    // YC48 rows carry no fraction bits, plain rows or not.
    constexpr int kShift = DescaleShift(0, 0);
    Vec sums[kSpp];
    for (int s = 0; s < kSpp; ++s) sums[s] = Ops::template RoundingBias<kShift>();
    const auto column = columns_.template Get<kPairs>(this->p_.HWeights.Entries, x, this->pairOf_);
    const Vec *pair = this->transposed_ + kVectorsPerPair * column.FirstPair + kSpp * g;
    ForEachPair<kPairs>(column.Count, [&](int32_t j) { AddPair(column.Coeffs, j, pair, sums); });
    const Vec yCr = Ops::PackSigned32(Ops::template Descale<kShift>(sums[0]),
                                      Ops::template Descale<kShift>(sums[2]));
    const Vec cb0 = Ops::PackSigned32(Ops::template Descale<kShift>(sums[1]), Ops::Zero());
    const Vec yCb = Ops::InterleaveLow16(yCr, cb0);
    const Vec cr0 = Ops::InterleaveHigh16(yCr, cb0);
    pixels[0] = Ops::InterleaveLow32(yCb, cr0);
    pixels[1] = Ops::InterleaveHigh32(yCb, cr0);
  }

  // Adds the products of a column's coefficient pair j with its sample pair j of the group
  // whose first pair is at `pair`.
  [[gnu::always_inline]] static void AddPair(const int16_t *coeffs, int32_t j, const Vec *pair,
                                             Vec (&sums)[kSpp]) {
    const int16_t *pairCoeffs = coeffs + j * Layout::kPairCoeffs;
    const Vec luma = Ops::BroadcastPair(pairCoeffs + Layout::SetOffset(kLumaSet));
    const Vec chroma = Ops::BroadcastPair(pairCoeffs + Layout::SetOffset(kChromaSet));
    for (int s = 0; s < kSpp; ++s)
      sums[s] = Ops::AddPairProducts(sums[s], Ops::Load(pair + j * kVectorsPerPair + s),
                                     s == 0 ? luma : chroma);
  }

  // Where row r's pixel lies when pixels[0] and pixels[1] are stored one after the other.
  static constexpr int SlotOfRow(int r) { return (r % 4) / 2 * (kLanes / 2) + r / 4 * 2 + r % 2; }

  // The rows [0, rowCount) of a group's column, 6 bytes per row, or 8 with room after the pixel.
  static void StoreColumn(int16_t *const *outRows, int32_t rowCount, int32_t x, bool roomAfter,
                          const Vec (&pixels)[2]) {
    alignas(sizeof(Vec)) int16_t slots[kLanes][4];
    Ops::Store(slots[0], pixels[0]);
    Ops::Store(slots[kLanes / 2], pixels[1]);
    for (int32_t r = 0; r < rowCount; ++r)
      std::memcpy(outRows[r] + kSpp * x, slots[SlotOfRow(r)], roomAfter ? 8 : 6);
  }

  const Columns columns_;
};

}  // namespace kernels::simd
