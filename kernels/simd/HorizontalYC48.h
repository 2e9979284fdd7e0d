// The horizontal filter of YC48 rows in the SIMD kernels. A row is first prepared as one vector
// per source pixel pair: (Y even, Y odd), (Cb even, Cb odd), (Cr even, Cr odd) and a lane left
// unused, so that a coefficient pair meets all three samples of the pair in one 16-bit
// multiply-add, and an output pixel is one vector sum over its block's pairs.
#pragma once

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "ExactDivider.h"
#include "portable/PortableFilters.h"
#include "portable/SampleFormats.h"
#include "engine/ResizeParams.h"

namespace simd {

template <class Ops, class Layout>
struct HorizontalYC48 {
  static constexpr int kSpp = portable::YC48Format::kSamplesPerPixel;

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

  static void FilterRow(const void *prepared, const ResizeParams &p, int32_t xBegin, int32_t xEnd,
                        int16_t *out) {
    const __m128i *pairs = static_cast<const __m128i *>(prepared);
    const ExactDivider pairOf(p.HStep);
    for (int32_t x = xBegin; x < xEnd; ++x) {
      const WeightEntry &entry = p.HWeights.Entries[x];
      const __m128i sums = Ops::template DotPixelPairs<Layout>(
          pairs + pairOf.Divide(entry.Offset), entry.Coeffs, PairCount(entry.Coeffs));
      const __m128i descaled = Ops::Descale(sums);
      const __m128i samples = _mm_packs_epi32(descaled, descaled);
      int16_t *pixel = out + x * kSpp;
      if (x + 1 < xEnd) {
        // 8 bytes: the fourth sample lands on the next pixel, which is written next.
        _mm_storel_epi64(reinterpret_cast<__m128i *>(pixel), samples);
      } else {
        const int32_t yAndCb = _mm_cvtsi128_si32(samples);
        std::memcpy(pixel, &yAndCb, sizeof(yAndCb));
        pixel[2] = static_cast<int16_t>(_mm_extract_epi16(samples, 2));
      }
    }
  }
};

}  // namespace simd
