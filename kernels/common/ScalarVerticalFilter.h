// The scalar vertical filter of one output line: it evaluates the weight table as plainly as
// possible. The portable kernel filters every line with it; the SIMD kernels take it where a
// line is too short for a vector step.
#pragma once

#include <algorithm>
#include <cstdint>

#include "common/FixedPoint.h"
#include "common/FrameLines.h"
#include "common/SampleFormats.h"
#include "contracts/WeightTable.h"

namespace kernels {

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
// whose first source line pair is `firstLinePair`, into out[0 ..): frame samples, or the
// combined pass's plain rows (SampleFormats.h). `acc` is scratch for the 32-bit sums of those
// pixels' samples. A padding coefficient may stand for the line one past
// the frame: that line is skipped, never read.
template <class Format, class Layout, typename Out>
void FilterLineVertically(const SourceFrame<Format> &src, const WeightEntry &entry,
                          int32_t firstLinePair, int32_t pixelBegin, int32_t pixelEnd,
                          uint32_t *acc, Out *out) {
  constexpr int kShift = DescaleShift(0, kFractionBitsOf<Format, Out>);
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
  for (int32_t i = 0; i < samples; ++i) out[i] = ClampTo<Format, Out>(Descale<kShift>(acc[i]));
}

}  // namespace kernels
