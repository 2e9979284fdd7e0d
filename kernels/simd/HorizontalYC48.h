// The horizontal filter of YC48 rows in the SIMD kernels. A row is first prepared as one vector
// per source pixel pair: (Y even, Y odd), (Cb even, Cb odd), (Cr even, Cr odd) and a lane left
// unused, so that a coefficient pair meets all three samples of the pair in one 16-bit
// multiply-add, and an output pixel is one vector sum over its block's pairs.
//
// When a pass starts, the weight table is spread into a uniform table: every output gets the
// same number of pairs (the table's largest block, zero-padded), each pair already spread over
// the lanes, and Ops::kOutputsPerStep outputs side by side. The row loop then runs a fixed
// count of multiply-adds per step with no shuffles; blocks too long for the uniform table, and
// a last output without a partner, take the per-output path.
#pragma once

#include <emmintrin.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "ExactDivider.h"
#include "sse2/Sse2Ops.h"
#include "portable/PortableFilters.h"
#include "portable/SampleFormats.h"
#include "engine/ResizeParams.h"

namespace simd {

template <class Ops, class Layout>
struct HorizontalYC48 {
  static constexpr int kSpp = portable::YC48Format::kSamplesPerPixel;
  static constexpr int32_t kMaxUniformPairs = 16;
  static constexpr int32_t kOutputsPerStep = Ops::kOutputsPerStep;

  // The padded row's pixel pairs, and room for the uniform table's reads past a short block.
  static int32_t PreparedRowBytes(int32_t srcWidth) {
    return (portable::RowCapacityPixels(srcWidth) / 2 + kMaxUniformPairs) *
           static_cast<int32_t>(sizeof(__m128i));
  }

  // Pixel pairs [Begin / 2, End / 2) of `line` (Begin and End are even); pixels from ReadEnd on
  // read as zeros.
  static void PrepareRow(const int16_t *line, const portable::TileColumns &columns,
                         const ResizeParams &, void *prepared) {
    __m128i *pairs = static_cast<__m128i *>(prepared);
    int32_t q = columns.Begin / 2;
    // A 16-byte load at pair q reads 4 bytes past the pair: stop where that leaves the line.
    for (; 12 * q + 16 <= kSpp * 2 * columns.ReadEnd; ++q) {
      const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i *>(line + 6 * q));
      _mm_store_si128(pairs + q, _mm_unpacklo_epi16(pixels, _mm_srli_si128(pixels, 6)));
    }
    for (; q < columns.End / 2; ++q) {
      alignas(16) int16_t pair[8] = {};
      for (int t = 0; t < 2; ++t)
        if (2 * q + t < columns.ReadEnd)
          for (int s = 0; s < kSpp; ++s) pair[2 * s + t] = line[(2 * q + t) * kSpp + s];
      pairs[q] = _mm_load_si128(reinterpret_cast<const __m128i *>(pair));
    }
  }

  class RowFilter {
   public:
    // Per output: its first pixel pair, and kMaxUniformPairs spread coefficient pairs.
    static int32_t TableBytes(int32_t dstWidth) {
      const int32_t outputs = dstWidth + kOutputsPerStep;
      return outputs * (static_cast<int32_t>(sizeof(int32_t)) +
                        kMaxUniformPairs * static_cast<int32_t>(sizeof(__m128i)));
    }

    RowFilter(const ResizeParams &p, void *table) : p_(p), pairOf_(p.HStep) {
      const int32_t outputs = (p.DstWidth + kOutputsPerStep - 1) / kOutputsPerStep * kOutputsPerStep;
      coeffs_ = static_cast<__m128i *>(table);
      firstPairs_ = reinterpret_cast<int32_t *>(coeffs_ + outputs * kMaxUniformPairs);
      if (!Ops::kUniformRowTable) return;
      for (int32_t x = 0; x < p.DstWidth; ++x)
        pairs_ = std::max(pairs_, PairCount(p.HWeights.Entries[x].Coeffs));
      if (pairs_ > kMaxUniformPairs) {
        pairs_ = 0;  // the per-output path for every output
        return;
      }
      for (int32_t x = 0; x < outputs; ++x) Spread(x);
    }

    void Filter(const void *prepared, int32_t xBegin, int32_t xEnd, int16_t *out) const {
      const __m128i *pairs = static_cast<const __m128i *>(prepared);
      int32_t x = xBegin;
      if (pairs_ > 0 && xBegin % kOutputsPerStep == 0) {
        for (; x + kOutputsPerStep <= xEnd; x += kOutputsPerStep) {
          const __m128i *coeffs = coeffs_ + x * pairs_;
          const int32_t *first = firstPairs_ + x;
          typename Ops::Vec sums = Ops::Zero();
          for (int32_t j = 0; j < pairs_; ++j)
            sums = Ops::Add(sums, Ops::MulAdd(Ops::PixelPairs(pairs, first, j),
                                              Ops::Coefficients(coeffs + j * kOutputsPerStep)));
          Ops::StoreOutputs(out + x * kSpp, sums, x + kOutputsPerStep < xEnd);
        }
      }
      for (; x < xEnd; ++x) FilterOne(pairs, x, x + 1 < xEnd, out);
    }

   private:
    // Output x's pairs at their place in its step: pair j of the step's outputs side by side.
    void Spread(int32_t x) {
      const int32_t last = p_.DstWidth - 1;
      const WeightEntry &entry = p_.HWeights.Entries[std::min(x, last)];
      const int32_t count = x > last ? 0 : PairCount(entry.Coeffs);  // a step's missing partner
      firstPairs_[x] = pairOf_.Divide(entry.Offset);
      __m128i *step = coeffs_ + (x / kOutputsPerStep) * kOutputsPerStep * pairs_;
      for (int32_t j = 0; j < pairs_; ++j)
        step[j * kOutputsPerStep + x % kOutputsPerStep] =
            j < count ? Sse2Ops::PairCoefficients<Layout>(entry.Coeffs + j * Layout::kPairCoeffs)
                      : _mm_setzero_si128();
    }

    void FilterOne(const __m128i *pairs, int32_t x, bool roomAfter, int16_t *out) const {
      const WeightEntry &entry = p_.HWeights.Entries[x];
      const __m128i sums = Ops::template DotPixelPairs<Layout>(
          pairs + pairOf_.Divide(entry.Offset), entry.Coeffs, PairCount(entry.Coeffs));
      Sse2Ops::StoreOutputs(out + x * kSpp, sums, roomAfter);
    }

    const ResizeParams &p_;
    const ExactDivider pairOf_;
    __m128i *coeffs_ = nullptr;
    int32_t *firstPairs_ = nullptr;
    int32_t pairs_ = 0;
  };
};

}  // namespace simd
