// The horizontal filter of YC48 rows in the SSE2 kernel. A row is first prepared as one vector
// per source pixel pair: (Y even, Y odd), (Cb even, Cb odd), (Cr even, Cr odd) and a lane left
// unused, so that a coefficient pair meets all three samples of the pair in one 16-bit
// multiply-add, and an output pixel is one vector sum over its block's pairs. (Measured: a
// uniform table of pre-spread coefficients gains nothing with one output per step.)
#pragma once

#include <emmintrin.h>

#include <cstdint>

#include "ExactDivider.h"
#include "portable/SampleFormats.h"
#include "engine/ResizeParams.h"

namespace simd {

template <class Ops, class Layout>
struct HorizontalYC48 {
  static constexpr int kSpp = portable::YC48Format::kSamplesPerPixel;

  // The padded row's pixel pairs.
  static int32_t PreparedRowBytes(int32_t srcWidth) {
    return portable::RowCapacityPixels(srcWidth) / 2 * static_cast<int32_t>(sizeof(__m128i));
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
    explicit RowFilter(const ResizeParams &p) : p_(p), pairOf_(p.HStep) {}

    void Filter(const void *prepared, int32_t xBegin, int32_t xEnd, int16_t *out) const {
      const __m128i *pairs = static_cast<const __m128i *>(prepared);
      for (int32_t x = xBegin; x < xEnd; ++x) {
        const WeightEntry &entry = p_.HWeights.Entries[x];
        const __m128i sums = Ops::template DotPixelPairs<Layout>(
            pairs + pairOf_.Divide(entry.Offset), entry.Coeffs, PairCount(entry.Coeffs));
        Ops::StoreOutputs(out + x * kSpp, sums, x + 1 < xEnd);
      }
    }

   private:
    const ResizeParams &p_;
    const ExactDivider pairOf_;
  };
};

}  // namespace simd
