// The row filters every pass is built from: the horizontal filter of one row (YC48 and YUY2
// layouts) and the vertical filter of one output line. They are the reference the SIMD kernels
// are checked against, so they evaluate the weight tables as plainly as possible.
#pragma once

#include <algorithm>
#include <cstdint>

#include "FixedPoint.h"
#include "SampleFormats.h"
#include "engine/WeightTable.h"

namespace portable {

// One coefficient set of a block applied to consecutive source positions. `coeffs` is the set's
// first coefficient, with `pairStride` coefficients from one pair to the next; `samples` is the
// sample at the block's first position, with `sampleStride` samples from one position to the next.
template <typename Sample>
inline uint32_t DotBlock(const int16_t *coeffs, int pairStride, int32_t pairCount,
                         const Sample *samples, int sampleStride) {
  uint32_t sum = 0;
  for (int32_t j = 0; j < pairCount; ++j) {
    const Sample *pair = samples + 2 * j * sampleStride;
    sum = MulAdd(sum, coeffs[j * pairStride], pair[0]);
    sum = MulAdd(sum, coeffs[j * pairStride + 1], pair[sampleStride]);
  }
  return sum;
}

// Output pixels [xBegin, xEnd) of one YC48 row. `row` holds the source row at its own positions,
// padded to RowCapacityPixels, so a padding coefficient one past the frame reads a zero there.
template <class Layout>
void FilterRowYC48(const int16_t *row, const WeightEntry *entries, int32_t hStep, int32_t xBegin,
                   int32_t xEnd, int16_t *out) {
  constexpr int kSpp = YC48Format::kSamplesPerPixel;
  for (int32_t x = xBegin; x < xEnd; ++x) {
    const WeightEntry &entry = entries[x];
    const int32_t pairCount = PairCount(entry.Coeffs);
    const int16_t *first = row + 2 * (entry.Offset / hStep) * kSpp;
    for (int s = 0; s < kSpp; ++s) {
      const int16_t *coeffs = entry.Coeffs + Layout::SetOffset(YC48Format::kSampleSet[s]);
      const uint32_t sum = DotBlock(coeffs, Layout::kPairCoeffs, pairCount, first + s, kSpp);
      out[x * kSpp + s] = YC48Format::Clamp(Descale(sum));
    }
  }
}

// Byte layout of a YUY2 row: pixel pair p is Y(2p) U(p) Y(2p+1) V(p), 4 bytes.
constexpr int kYUY2PairBytes = 4;

inline uint8_t FilterYUY2Luma(const uint8_t *row, const WeightEntry &entry, int32_t hStep) {
  const uint8_t *first = row + (entry.Offset / hStep) * kYUY2PairBytes;
  return YUY2Format::Clamp(Descale(DotBlock(entry.Coeffs, 2, PairCount(entry.Coeffs), first, 2)));
}

// `channel` is the byte of the chroma sample within its pixel pair: 1 for U, 3 for V. A chroma
// entry's Offset / hStep is its first (even) chroma sample, which is also that sample's pixel
// pair, and one coefficient pair covers two chroma samples, i.e. two source pixel pairs.
inline uint8_t FilterYUY2Chroma(const uint8_t *row, int channel, const WeightEntry &entry,
                                int32_t hStep) {
  const uint8_t *first = row + (entry.Offset / hStep) * kYUY2PairBytes + channel;
  return YUY2Format::Clamp(
      Descale(DotBlock(entry.Coeffs, 2, PairCount(entry.Coeffs), first, kYUY2PairBytes)));
}

// Output pixels [xBegin, xEnd) of one YUY2 row, xBegin even. The entries come in groups of three
// per output pixel pair q: luma of column 2q, luma of column 2q + 1, chroma of the pair, whose
// coefficients serve U and V alike. `row` is padded like the YC48 row.
inline void FilterRowYUY2(const uint8_t *row, const WeightEntry *entries, int32_t hStep,
                          int32_t xBegin, int32_t xEnd, uint8_t *out) {
  for (int32_t q = xBegin / 2; q < xEnd / 2; ++q) {
    const WeightEntry *group = entries + 3 * q;
    uint8_t *pair = out + q * kYUY2PairBytes;
    pair[0] = FilterYUY2Luma(row, group[0], hStep);
    pair[1] = FilterYUY2Chroma(row, 1, group[2], hStep);
    pair[2] = FilterYUY2Luma(row, group[1], hStep);
    pair[3] = FilterYUY2Chroma(row, 3, group[2], hStep);
  }
  if (xEnd % 2 != 0) {
    // An odd width ends in a column with a luma entry and no chroma entry.
    uint8_t *last = out + (xEnd / 2) * kYUY2PairBytes;
    last[0] = FilterYUY2Luma(row, entries[3 * (xEnd / 2)], hStep);
    last[1] = YUY2Format::kNeutralChroma;
  }
}

// The source frame as the vertical filter reads it.
template <class Format>
struct SourceFrame {
  const void *Data;
  int32_t LineSize;  // bytes
  int32_t Height;    // lines

  const typename Format::Sample *Line(int32_t y) const {
    return reinterpret_cast<const typename Format::Sample *>(static_cast<const uint8_t *>(Data) +
                                                             static_cast<size_t>(LineSize) * y);
  }
};

// acc[i] += (coefficient of sample i's set) x line[i], over the samples of `pixels` pixels.
template <class Format>
void AccumulateLine(uint32_t *acc, const typename Format::Sample *line, int32_t pixels,
                    const int32_t (&setCoeffs)[2]) {
  constexpr int kSpp = Format::kSamplesPerPixel;
  int32_t sampleCoeffs[kSpp];
  for (int s = 0; s < kSpp; ++s) sampleCoeffs[s] = setCoeffs[Format::kSampleSet[s]];
  for (int32_t x = 0; x < pixels; ++x)
    for (int s = 0; s < kSpp; ++s)
      acc[x * kSpp + s] = MulAdd(acc[x * kSpp + s], sampleCoeffs[s], line[x * kSpp + s]);
}

// Pixels [pixelBegin, pixelEnd) of one output line, filtered vertically by `entry`'s block,
// whose first source line pair is `firstLinePair`, into out[0 ..). `acc` is scratch for the
// 32-bit sums of those pixels' samples. A padding coefficient may stand for the line one past
// the frame: that line is skipped, never read.
template <class Format, class Layout>
void FilterLineVertically(const SourceFrame<Format> &src, const WeightEntry &entry,
                          int32_t firstLinePair, int32_t pixelBegin, int32_t pixelEnd,
                          uint32_t *acc, typename Format::Sample *out) {
  constexpr int kSpp = Format::kSamplesPerPixel;
  const int32_t pixels = pixelEnd - pixelBegin;
  const int32_t samples = pixels * kSpp;
  std::fill(acc, acc + samples, 0u);
  const int32_t pairCount = PairCount(entry.Coeffs);
  for (int32_t j = 0; j < pairCount; ++j) {
    const int16_t *pair = entry.Coeffs + j * Layout::kPairCoeffs;
    for (int t = 0; t < 2; ++t) {
      const int32_t y = 2 * (firstLinePair + j) + t;
      if (y >= src.Height) continue;
      const int32_t setCoeffs[2] = {pair[Layout::SetOffset(kLumaSet) + t],
                                    pair[Layout::SetOffset(kChromaSet) + t]};
      AccumulateLine<Format>(acc, src.Line(y) + pixelBegin * kSpp, pixels, setCoeffs);
    }
  }
  for (int32_t i = 0; i < samples; ++i) out[i] = Format::Clamp(Descale(acc[i]));
}

}  // namespace portable
