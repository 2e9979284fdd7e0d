// The portable kernel's horizontal filter of a whole tile, kRows rows at a time. The rows
// are first transposed into one column per channel and source position, the rows' samples side
// by side, so that a coefficient multiplies the same sample of every row in one loop over the
// rows: the compiler turns that loop into vector operations, where sums over one output's taps
// would stay scalar. Sums wrap around and are descaled and clamped like the vertical filter's,
// by the fraction bits of the rows they come from (SampleFormats.h).
#pragma once

#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "common/FixedPoint.h"
#include "common/SampleFormats.h"
#include "common/WorkAreas.h"
#include "contracts/ResizeParams.h"
#include "contracts/WeightTable.h"

namespace kernels::portable {

template <class Format, class Layout>
class TransposedTileFilter {
 public:
  static constexpr int32_t kRows = 16;
  using Sample = typename Format::Sample;
  static constexpr bool kYUY2 = std::is_same<Format, YUY2Format>::value;
  static constexpr int kSpp = Format::kSamplesPerPixel;
  // Columns per source position: Y, Cb, Cr of a YC48 pixel; Y, and U or V (alternating with
  // the pixel) of a YUY2 pixel.
  static constexpr int kChannels = kYUY2 ? 2 : 3;

  // The plain rows, then kChannels columns per source pixel of the row buffer.
  static int32_t BufferBytes(int32_t srcWidth, int32_t) {
    return kRows * PlainRowBytes(srcWidth) +
           RoundUpToSlice(static_cast<int64_t>(RowCapacityPixels(srcWidth)) * kChannels * kRows *
                          static_cast<int32_t>(sizeof(int16_t)));
  }

  TransposedTileFilter(const ResizeParams &p, void *buffer)
      : p_(p),
        plain_(static_cast<uint8_t *>(buffer)),
        plainBytes_(PlainRowBytes(p.SrcWidth)),
        capacity_(RowCapacityPixels(p.SrcWidth)),
        columns_(reinterpret_cast<int16_t *>(plain_ + kRows * plainBytes_)) {}

  // Row r of the plain rows the combined pass's vertical filter writes.
  typename Format::Intermediate *PlainRow(int32_t r) const {
    return reinterpret_cast<typename Format::Intermediate *>(plain_ + r * plainBytes_);
  }

  // Output pixels [xBegin, xEnd) of `rowCount` rows (at most kRows; YUY2: xBegin even) from the
  // rows at `rows` (frame samples, or plain rows), whose pixels [Begin, ReadEnd) of `columns`
  // are read; pixels up to End read as zeros. Output row r starts at `out` + r x lineSize
  // bytes. The rows are read in full before any output is written, so they may be the output
  // rows.
  template <typename In>
  void Filter(const In *const *rows, int32_t rowCount, const TileColumns &columns,
              int32_t xBegin, int32_t xEnd, void *out, int32_t lineSize) const {
    constexpr int kShift = DescaleShift(kFractionBitsOf<Format, In>, 0);
    Transpose(rows, rowCount, columns);
    Sample *outRows[kRows];
    for (int32_t r = 0; r < rowCount; ++r)
      outRows[r] = reinterpret_cast<Sample *>(static_cast<uint8_t *>(out) +
                                              static_cast<ptrdiff_t>(lineSize) * r);
    if constexpr (kYUY2)
      FilterYUY2<kShift>(outRows, rowCount, xBegin, xEnd);
    else
      FilterYC48<kShift>(outRows, rowCount, xBegin, xEnd);
  }

 private:
  static int32_t PlainRowBytes(int32_t srcWidth) {
    return RoundUpToSlice(RowCapacityPixels(srcWidth) * kSpp *
                          static_cast<int32_t>(sizeof(typename Format::Intermediate)));
  }

  // Column `channel` of source position `x`: YC48 channel s of pixel x; YUY2 luma (channel 0)
  // of pixel x, or chroma (channel 1) sample x, U of pixel pair x / 2 for even x, V for odd x.
  int16_t *Column(int channel, int32_t x) const {
    return columns_ + (static_cast<ptrdiff_t>(channel) * capacity_ + x) * kRows;
  }

  // Every row's sample at the same place in the pixels [Begin, End); rows past rowCount and
  // pixels from ReadEnd on as zeros.
  template <typename In>
  void Transpose(const In *const *rows, int32_t rowCount, const TileColumns &columns) const {
    for (int32_t x = columns.Begin; x < columns.End; ++x)
      for (int s = 0; s < kSpp; ++s) {
        int16_t *column = ColumnOfSample(x, s);
        for (int32_t r = 0; r < kRows; ++r)
          column[r] = r < rowCount && x < columns.ReadEnd ? rows[r][x * kSpp + s] : 0;
      }
  }

  // Where sample s of pixel x goes.
  int16_t *ColumnOfSample(int32_t x, int s) const {
    if constexpr (kYUY2)
      return s == 0 ? Column(0, x) : Column(1, x / 2 + (x % 2) * (capacity_ / 2));
    else
      return Column(s, x);
  }

  // sums[r] = the taps of a block, coefficient pair j at `coeffs` + j x pairStride, times
  // columns `first`, first + 1, ... of row r. The loop over the rows is what vectorizes.
  static void DotColumns(const int16_t *first, const int16_t *coeffs, int pairStride,
                         int32_t pairCount, uint32_t (&sums)[kRows]) {
    for (int32_t r = 0; r < kRows; ++r) sums[r] = 0;
    for (int32_t j = 0; j < pairCount; ++j)
      for (int t = 0; t < 2; ++t) {
        const int16_t coeff = coeffs[j * pairStride + t];
        const int16_t *column = first + (2 * j + t) * kRows;
        // Unrolled in full, the loop would be left to the basic-block vectorizer, which fails
        // on the widening multiply; kept as a loop, it becomes 16-bit multiplies and 32-bit adds.
#pragma GCC unroll 1
        for (int32_t r = 0; r < kRows; ++r) sums[r] = MulAdd(sums[r], coeff, column[r]);
      }
  }

  template <int Shift>
  void FilterYC48(Sample *const *outRows, int32_t rowCount, int32_t xBegin, int32_t xEnd) const {
    for (int32_t x = xBegin; x < xEnd; ++x) {
      const WeightEntry &entry = p_.HWeights.Entries[x];
      const int32_t first = 2 * (entry.Offset / p_.HStep);
      for (int s = 0; s < kSpp; ++s) {
        uint32_t sums[kRows];
        DotColumns(Column(s, first), entry.Coeffs + Layout::SetOffset(Format::kSampleSet[s]),
                   Layout::kPairCoeffs, PairCount(entry.Coeffs), sums);
        for (int32_t r = 0; r < rowCount; ++r)
          outRows[r][x * kSpp + s] = Format::Clamp(Descale<Shift>(sums[r]));
      }
    }
  }

  // The entries come in groups of three per output pixel pair q (YUY2EntryGroup); the chroma
  // entry's coefficients serve U and V alike.
  template <int Shift>
  void FilterYUY2(Sample *const *outRows, int32_t rowCount, int32_t xBegin, int32_t xEnd) const {
    const int32_t vOffset = capacity_ / 2;
    for (int32_t q = xBegin / 2; q < xEnd / 2; ++q) {
      const YUY2EntryGroup group(p_.HWeights.Entries, q);
      const WeightEntry &chromaEntry = group.Chroma();
      const int32_t chroma = chromaEntry.Offset / p_.HStep;
      uint32_t sums[4][kRows];  // Y even, U, Y odd, V
      DotLuma(group.EvenLuma(), sums[0]);
      DotColumns(Column(1, chroma), chromaEntry.Coeffs, 2, PairCount(chromaEntry.Coeffs), sums[1]);
      DotLuma(group.OddLuma(), sums[2]);
      DotColumns(Column(1, chroma + vOffset), chromaEntry.Coeffs, 2, PairCount(chromaEntry.Coeffs),
                 sums[3]);
      for (int32_t r = 0; r < rowCount; ++r)
        for (int i = 0; i < 4; ++i)
          outRows[r][4 * q + i] = Format::Clamp(Descale<Shift>(sums[i][r]));
    }
    if (xEnd % 2 != 0) {
      // An odd width ends in a column with a luma entry and no chroma entry.
      const int32_t q = xEnd / 2;
      uint32_t sums[kRows];
      DotLuma(YUY2EntryGroup(p_.HWeights.Entries, q).EvenLuma(), sums);
      for (int32_t r = 0; r < rowCount; ++r) {
        outRows[r][4 * q] = Format::Clamp(Descale<Shift>(sums[r]));
        outRows[r][4 * q + 1] = YUY2Format::kNeutralChroma;
      }
    }
  }

  void DotLuma(const WeightEntry &entry, uint32_t (&sums)[kRows]) const {
    DotColumns(Column(0, 2 * (entry.Offset / p_.HStep)), entry.Coeffs, 2, PairCount(entry.Coeffs),
               sums);
  }

  const ResizeParams &p_;
  uint8_t *plain_;
  int32_t plainBytes_;
  int32_t capacity_;  // pixels of a row buffer
  int16_t *columns_;
};

}  // namespace kernels::portable
