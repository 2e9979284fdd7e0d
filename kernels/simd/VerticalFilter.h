// The vertical filter of the SIMD kernels, written once over an instruction set's vector
// operations (`Ops`: Sse2Ops or Avx2Ops). Coefficient pairs cover the even and the odd line of
// a source line pair, so the two lines' samples are interleaved into 16-bit pairs and meet
// their coefficient pair in one multiply-add to 32 bits. The sums wrap around like the portable
// kernel's and are rounded, descaled and clamped the same way.
#pragma once

#include <algorithm>
#include <cstdint>

#include "portable/RowFilters.h"
#include "portable/SampleFormats.h"

namespace simd {

template <class Ops, class Format, class Layout>
struct VerticalFilter {
  using Vec = typename Ops::Vec;
  using Sample = typename Format::Sample;
  static constexpr int kSpp = Format::kSamplesPerPixel;
  static constexpr int kSamples = Ops::kSamples;  // samples per vector step
  // Separate weights give a coefficient pattern that depends on which sample of a pixel a
  // vector step starts with; shared weights give one pattern.
  static constexpr int kPhases = Layout::kPairCoeffs == 4 ? kSpp : 1;
  static constexpr int kPatternsPerPair = kPhases * 2;  // low and high half of a step

  // Pairs a block can use: those with a line inside the frame.
  static int32_t MaxPairs(int32_t srcHeight) { return srcHeight / 2 + 1; }

  static int32_t ScratchBytes(int32_t srcHeight) {
    return MaxPairs(srcHeight) * (kPatternsPerPair * static_cast<int32_t>(sizeof(Vec)) +
                                  2 * static_cast<int32_t>(sizeof(const Sample *)));
  }

  // Pixels [pixelBegin, pixelEnd) of one output line into out[0 ..). `scratch` is the thread's
  // work slice, aligned for vectors. Lines past the frame are never read: their coefficient is
  // taken as 0 (a valid table has only padding zeros there) and line 0 stands in for them.
  static void Filter(const portable::SourceFrame<Format> &source, const WeightEntry &entry,
                     int32_t firstLinePair, int32_t pixelBegin, int32_t pixelEnd, void *scratch,
                     Sample *out) {
    const int32_t samples = (pixelEnd - pixelBegin) * kSpp;
    if (samples < kSamples) {
      uint32_t sums[kSamples];
      portable::FilterLineVertically<Format, Layout>(source, entry, firstLinePair, pixelBegin,
                                                     pixelEnd, sums, out);
      return;
    }
    const int32_t linesLeft = std::max(source.Height - 2 * firstLinePair, 0);
    const int32_t pairs = std::min(PairCount(entry.Coeffs), (linesLeft + 1) / 2);
    Vec *patterns = static_cast<Vec *>(scratch);
    const Sample **lines = reinterpret_cast<const Sample **>(patterns + pairs * kPatternsPerPair);
    for (int32_t j = 0; j < pairs; ++j)
      PreparePair(source, entry.Coeffs + j * Layout::kPairCoeffs, 2 * (firstLinePair + j),
                  pixelBegin * kSpp, patterns + j * kPatternsPerPair, lines + 2 * j);

    int32_t s = 0;
    for (; s + kSamples <= samples; s += kSamples) Step(patterns, lines, pairs, s, out);
    // The last step overlaps the one before: it recomputes the same values.
    if (s < samples) Step(patterns, lines, pairs, samples - kSamples, out);
  }

 private:
  // The coefficient patterns of one pair and the two lines it multiplies.
  static void PreparePair(const portable::SourceFrame<Format> &source, const int16_t *pair,
                          int32_t firstLine, int32_t sampleBegin, Vec *patterns,
                          const Sample **lines) {
    uint16_t setCoeffs[2][2];  // [line of the pair][coefficient set]
    for (int t = 0; t < 2; ++t) {
      const bool inside = firstLine + t < source.Height;
      lines[t] = source.Line(inside ? firstLine + t : 0) + sampleBegin;
      for (int set = 0; set < 2; ++set)
        setCoeffs[t][set] = inside ? static_cast<uint16_t>(pair[Layout::SetOffset(set) + t]) : 0;
    }
    for (int phase = 0; phase < kPhases; ++phase)
      for (int half = 0; half < 2; ++half) {
        uint32_t lanes[Ops::kLanes];
        for (int k = 0; k < Ops::kLanes; ++k) {
          const int set = Format::kSampleSet[(phase + Ops::LaneSample(half, k)) % kSpp];
          lanes[k] = setCoeffs[0][set] | static_cast<uint32_t>(setCoeffs[1][set]) << 16;
        }
        patterns[phase * 2 + half] = Ops::LoadLanes(lanes);
      }
  }

  static void Step(const Vec *patterns, const Sample *const *lines, int32_t pairs, int32_t s,
                   Sample *out) {
    const Vec *pattern = patterns + (s % kPhases) * 2;
    Vec low = Ops::Zero(), high = Ops::Zero();
    // kPerPass pairs per pass of the loop (see the Ops), the pairs left over one at a time.
    constexpr int32_t kPerPass = Ops::kVerticalPairsPerPass;
    int32_t j = 0;
    for (; j + kPerPass <= pairs; j += kPerPass)
      for (int32_t k = j; k < j + kPerPass; ++k)
        AddPair(pattern + k * kPatternsPerPair, lines + 2 * k, s, low, high);
    for (; j < pairs; ++j) AddPair(pattern + j * kPatternsPerPair, lines + 2 * j, s, low, high);
    Ops::StoreDescaled(out + s, low, high);
  }

  // Adds the products of one pair's lines, samples s on, with its coefficient patterns.
  static void AddPair(const Vec *pattern, const Sample *const *pairLines, int32_t s, Vec &low,
                      Vec &high) {
    Vec lowPairs, highPairs;
    Ops::InterleaveLines(pairLines[0] + s, pairLines[1] + s, lowPairs, highPairs);
    low = Ops::Add(low, Ops::MulAdd(lowPairs, pattern[0]));
    high = Ops::Add(high, Ops::MulAdd(highPairs, pattern[1]));
  }
};

}  // namespace simd
