// The vertical filter of the SIMD kernels, written once over an instruction set's vector
// operations (`Ops`: Sse2Ops, Avx2Ops or Avx512Ops). Coefficient pairs cover the even and the
// odd line of a source line pair, so the two lines' samples are interleaved into 16-bit pairs
// and meet their coefficient pair in one multiply-add to 32 bits. The sums wrap around like the
// portable kernel's and are rounded, descaled and clamped the same way.
//
// Where the Ops ask for it, two output lines are filtered together: neighbouring lines share
// most of their source line pairs, so each pair of the two blocks is loaded and interleaved
// once and meets both lines' coefficients. A line whose block does not hold a pair meets it
// with zero coefficients, which add nothing to its sums.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>

#include "common/FixedPoint.h"
#include "common/SampleFormats.h"
#include "common/ScalarVerticalFilter.h"

namespace kernels::simd {

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
  static constexpr int32_t kLinesAtOnce = Ops::kVerticalLinesAtOnce;  // 1 or 2

  // Pairs a block can use: those with a line inside the frame.
  static int32_t MaxPairs(int32_t srcHeight) { return srcHeight / 2 + 1; }

  // Two lines' pairs together, when they overlap or touch (otherwise each is filtered alone).
  static int32_t ScratchBytes(int32_t srcHeight) {
    return kLinesAtOnce * MaxPairs(srcHeight) *
           (kLinesAtOnce * kPatternsPerPair * static_cast<int32_t>(sizeof(Vec)) +
            2 * static_cast<int32_t>(sizeof(const Sample *)));
  }

  // Pixels [pixelBegin, pixelEnd) of `count` (1 or 2) output lines, whose table entries start
  // at `entries`, into outs[i][0 ..): frame samples, or the combined pass's plain rows
  // (SampleFormats.h). Block offsets are in `pairStep` units of source line
  // pairs. `scratch` is the thread's work slice, aligned for vectors. Lines past the frame are
  // never read: their coefficient is taken as 0 (a valid table has only padding zeros there)
  // and line 0 stands in for them.
  template <typename Out>
  static void FilterLines(const SourceFrame<Format> &source, const WeightEntry *entries,
                          int32_t pairStep, int32_t count, int32_t pixelBegin, int32_t pixelEnd,
                          void *scratch, Out *const *outs) {
    Block blocks[kLinesAtOnce] = {};
    for (int32_t i = 0; i < count; ++i) blocks[i] = BlockOf(source, entries[i], pairStep);
    const int32_t samples = (pixelEnd - pixelBegin) * kSpp;
    if (samples < kSamples) {
      uint32_t sums[kSamples];
      for (int32_t i = 0; i < count; ++i)
        FilterLineVertically<Format, Layout>(source, entries[i], blocks[i].FirstPair,
                                             pixelBegin, pixelEnd, sums, outs[i]);
      return;
    }
    if (count == 2 && !Together(blocks[0], blocks[1])) {
      for (int32_t i = 0; i < count; ++i)
        FilterLines(source, entries + i, pairStep, 1, pixelBegin, pixelEnd, scratch, outs + i);
      return;
    }
    const Span span = SpanOf(blocks, count);
    Vec *patterns = static_cast<Vec *>(scratch);
    const Sample **lines = reinterpret_cast<const Sample **>(
        patterns + span.Pairs * count * kPatternsPerPair);
    for (int32_t j = 0; j < span.Pairs; ++j) {
      const int32_t pair = span.FirstPair + j;
      PairLines(source, 2 * pair, pixelBegin * kSpp, lines + 2 * j);
      for (int32_t i = 0; i < count; ++i)
        PreparePatterns(source, blocks[i], pair, patterns + (j * count + i) * kPatternsPerPair);
    }
    if (kLinesAtOnce == 2 && count == 2)
      FilterSteps<kLinesAtOnce>(patterns, lines, span.Pairs, samples, outs);
    else
      FilterSteps<1>(patterns, lines, span.Pairs, samples, outs);
  }

 private:
  // A line's block: its first source line pair and the pairs with a line inside the frame.
  struct Block {
    const int16_t *Coeffs;
    int32_t FirstPair, Pairs;
  };

  // The source line pairs [FirstPair, FirstPair + Pairs) that a step goes through.
  struct Span {
    int32_t FirstPair, Pairs;
  };

  static Block BlockOf(const SourceFrame<Format> &source, const WeightEntry &entry,
                       int32_t pairStep) {
    const int32_t firstPair = entry.Offset / pairStep;
    const int32_t linesLeft = std::max(source.Height - 2 * firstPair, 0);
    return {entry.Coeffs, firstPair, std::min(PairCount(entry.Coeffs), (linesLeft + 1) / 2)};
  }

  // Whether two blocks' pairs form one run without a gap: then filtering them together reads
  // no pair that neither needs.
  static bool Together(const Block &a, const Block &b) {
    if (a.Pairs == 0 || b.Pairs == 0) return true;
    return std::max(a.FirstPair, b.FirstPair) <=
           std::min(a.FirstPair + a.Pairs, b.FirstPair + b.Pairs);
  }

  static Span SpanOf(const Block *blocks, int32_t count) {
    int32_t first = INT32_MAX, end = 0;
    for (int32_t i = 0; i < count; ++i)
      if (blocks[i].Pairs > 0) {
        first = std::min(first, blocks[i].FirstPair);
        end = std::max(end, blocks[i].FirstPair + blocks[i].Pairs);
      }
    return first < end ? Span{first, end - first} : Span{0, 0};
  }

  // The two lines of the pair from `firstLine` on, at sample `sampleBegin`.
  static void PairLines(const SourceFrame<Format> &source, int32_t firstLine,
                        int32_t sampleBegin, const Sample **lines) {
    for (int t = 0; t < 2; ++t) {
      const bool inside = firstLine + t < source.Height;
      lines[t] = source.Line(inside ? firstLine + t : 0) + sampleBegin;
    }
  }

  // The coefficient patterns with which `block` meets source line pair `pair`: zeros where
  // the block does not hold the pair or the line is past the frame.
  static void PreparePatterns(const SourceFrame<Format> &source, const Block &block,
                              int32_t pair, Vec *patterns) {
    const int32_t j = pair - block.FirstPair;
    const bool held = j >= 0 && j < block.Pairs;
    const int16_t *coeffs = block.Coeffs + j * Layout::kPairCoeffs;
    uint16_t setCoeffs[2][2];  // [line of the pair][coefficient set]
    for (int t = 0; t < 2; ++t) {
      const bool inside = held && 2 * pair + t < source.Height;
      for (int set = 0; set < 2; ++set)
        setCoeffs[t][set] = inside ? static_cast<uint16_t>(coeffs[Layout::SetOffset(set) + t]) : 0;
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

  template <int kCount, typename Out>
  static void FilterSteps(const Vec *patterns, const Sample *const *lines, int32_t pairs,
                          int32_t samples, Out *const *outs) {
    int32_t s = 0;
    for (; s + kSamples <= samples; s += kSamples) Step<kCount>(patterns, lines, pairs, s, outs);
    // The last step overlaps the one before: it recomputes the same values.
    if (s < samples) Step<kCount>(patterns, lines, pairs, samples - kSamples, outs);
  }

  // Samples s .. s + kSamples - 1 of the kCount lines. Pair j's patterns for line i are at
  // (j x kCount + i) x kPatternsPerPair.
  template <int kCount, typename Out>
  static void Step(const Vec *patterns, const Sample *const *lines, int32_t pairs, int32_t s,
                   Out *const *outs) {
    constexpr int kShift = DescaleShift(0, kFractionBitsOf<Format, Out>);
    constexpr int32_t kPairStride = kCount * kPatternsPerPair;
    const Vec *pattern = patterns + (s % kPhases) * 2;
    Vec low[kCount], high[kCount];
    for (int i = 0; i < kCount; ++i) low[i] = high[i] = Ops::template RoundingBias<kShift>();
    // With one line, kPerPass pairs per pass of the loop (see the Ops); two lines' sums take
    // the registers that would need.
    constexpr int32_t kPerPass = kCount == 1 ? Ops::kVerticalPairsPerPass : 1;
    int32_t j = 0;
    for (; j + kPerPass <= pairs; j += kPerPass)
      for (int32_t k = j; k < j + kPerPass; ++k)
        AddPair<kCount>(pattern + k * kPairStride, lines + 2 * k, s, low, high);
    for (; j < pairs; ++j) AddPair<kCount>(pattern + j * kPairStride, lines + 2 * j, s, low, high);
    for (int i = 0; i < kCount; ++i)
      Ops::template StoreDescaled<kShift>(outs[i] + s, low[i], high[i]);
  }

  // Adds the products of one pair's lines, samples s on, with each line's patterns.
  template <int kCount>
  static void AddPair(const Vec *pattern, const Sample *const *pairLines, int32_t s,
                      Vec (&low)[kCount], Vec (&high)[kCount]) {
    Vec lowPairs, highPairs;
    Ops::InterleaveLines(pairLines[0] + s, pairLines[1] + s, lowPairs, highPairs);
    for (int i = 0; i < kCount; ++i) {
      low[i] = Ops::AddPairProducts(low[i], lowPairs, pattern[i * kPatternsPerPair]);
      high[i] = Ops::AddPairProducts(high[i], highPairs, pattern[i * kPatternsPerPair + 1]);
    }
  }
};

}  // namespace kernels::simd
