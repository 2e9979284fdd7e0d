// The horizontal filter of YUY2 rows in the SIMD kernels (SSE2; the AVX2 kernel compiles the
// same code). A row is prepared as three planes of 16-bit samples, Y, U and V, so that each
// block is a dot product over consecutive samples, four coefficient pairs per multiply-add.
// The four dot products of an output pixel pair (Y even, U, Y odd, V) are summed across lanes
// together and stored as the pair's four bytes.
#pragma once

#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "ExactDivider.h"
#include "portable/FixedPoint.h"
#include "portable/RowFilters.h"
#include "portable/SampleFormats.h"
#include "engine/ResizeParams.h"

namespace simd {

struct HorizontalYUY2 {
  // A dot product loads 8 samples from a pair's first sample: up to 6 past a block's end.
  static constexpr int32_t kPlaneSlack = 8;

  // Plane lengths: the padded row's pixels for Y, its pixel pairs for U and V.
  static int32_t LumaLength(int32_t srcWidth) {
    return portable::RowCapacityPixels(srcWidth) + kPlaneSlack;
  }
  static int32_t ChromaLength(int32_t srcWidth) {
    return portable::RowCapacityPixels(srcWidth) / 2 + kPlaneSlack;
  }
  static int32_t PreparedRowBytes(int32_t srcWidth) {
    return 2 * (LumaLength(srcWidth) + 2 * ChromaLength(srcWidth));
  }

  struct Planes {
    int16_t *Y, *U, *V;
  };
  static Planes PlanesOf(void *prepared, int32_t srcWidth) {
    int16_t *y = static_cast<int16_t *>(prepared);
    int16_t *u = y + LumaLength(srcWidth);
    return {y, u, u + ChromaLength(srcWidth)};
  }

  // Pixels [Begin, End) of `line` (Begin, ReadEnd and End even); pixels from ReadEnd on read
  // as zeros.
  static void PrepareRow(const uint8_t *line, const portable::TileColumns &columns,
                         const ResizeParams &p, void *prepared) {
    const Planes planes = PlanesOf(prepared, p.SrcWidth);
    int32_t x = columns.Begin;
    for (; x + 8 <= columns.ReadEnd; x += 8) {
      const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i *>(line + 2 * x));
      _mm_storeu_si128(reinterpret_cast<__m128i *>(planes.Y + x),
                       _mm_and_si128(pixels, _mm_set1_epi16(0xFF)));
      // U0 V0 U1 V1 U2 V2 U3 V3 -> U0 U1 U2 U3 V0 V1 V2 V3
      __m128i chroma = _mm_srli_epi16(pixels, 8);
      chroma = _mm_shufflelo_epi16(chroma, _MM_SHUFFLE(3, 1, 2, 0));
      chroma = _mm_shufflehi_epi16(chroma, _MM_SHUFFLE(3, 1, 2, 0));
      chroma = _mm_shuffle_epi32(chroma, _MM_SHUFFLE(3, 1, 2, 0));
      _mm_storel_epi64(reinterpret_cast<__m128i *>(planes.U + x / 2), chroma);
      _mm_storel_epi64(reinterpret_cast<__m128i *>(planes.V + x / 2), _mm_srli_si128(chroma, 8));
    }
    for (; x < columns.End; x += 2) {
      const bool inside = x < columns.ReadEnd;
      planes.Y[x] = inside ? line[2 * x] : 0;
      planes.Y[x + 1] = inside ? line[2 * x + 2] : 0;
      planes.U[x / 2] = inside ? line[2 * x + 1] : 0;
      planes.V[x / 2] = inside ? line[2 * x + 3] : 0;
    }
  }

  // Reads the weight table as it is.
  class RowFilter {
   public:
    explicit RowFilter(const ResizeParams &p) : p_(p) {}
    void Filter(const void *prepared, int32_t xBegin, int32_t xEnd, uint8_t *out) const {
      FilterRow(prepared, p_, xBegin, xEnd, out);
    }

   private:
    const ResizeParams &p_;
  };

  // Output pixels [xBegin, xEnd) of one row, xBegin even. The entries come in groups of three
  // per output pixel pair: luma of the even column, luma of the odd column, chroma of the pair.
  static void FilterRow(const void *prepared, const ResizeParams &p, int32_t xBegin, int32_t xEnd,
                        uint8_t *out) {
    const Planes planes = PlanesOf(const_cast<void *>(prepared), p.SrcWidth);
    const ExactDivider pairOf(p.HStep);
    for (int32_t q = xBegin / 2; q < xEnd / 2; ++q) {
      const WeightEntry *group = p.HWeights.Entries + 3 * q;
      const int16_t *chroma = group[2].Coeffs;
      const int32_t chromaFirst = pairOf.Divide(group[2].Offset);
      const __m128i sums = SumAcrossLanes(
          Dot(planes.Y + 2 * pairOf.Divide(group[0].Offset), group[0].Coeffs),
          Dot(planes.U + chromaFirst, chroma),
          Dot(planes.Y + 2 * pairOf.Divide(group[1].Offset), group[1].Coeffs),
          Dot(planes.V + chromaFirst, chroma));
      const __m128i descaled = _mm_srai_epi32(_mm_add_epi32(sums, _mm_set1_epi32(8192)), 14);
      const __m128i words = _mm_packs_epi32(descaled, descaled);
      const int32_t bytes = _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
      std::memcpy(out + 4 * q, &bytes, sizeof(bytes));
    }
    if (xEnd % 2 != 0) {
      // An odd width ends in a column with a luma entry and no chroma entry.
      const WeightEntry &entry = p.HWeights.Entries[3 * (xEnd / 2)];
      const uint32_t sum = portable::DotBlock(entry.Coeffs, 2, PairCount(entry.Coeffs),
                                              planes.Y + 2 * pairOf.Divide(entry.Offset), 1);
      uint8_t *last = out + 4 * (xEnd / 2);
      last[0] = portable::YUY2Format::Clamp(portable::Descale(sum));
      last[1] = portable::YUY2Format::kNeutralChroma;
    }
  }

 private:
  // Lane sums of a block's coefficient pairs times consecutive samples from `samples` on.
  // Coefficients are read only inside the block; samples past it meet zero coefficients.
  static __m128i Dot(const int16_t *samples, const int16_t *coeffs) {
    const int32_t pairs = PairCount(coeffs);
    __m128i sums = _mm_setzero_si128();
    int32_t j = 0;
    for (; j + 4 <= pairs; j += 4)
      sums = _mm_add_epi32(sums, _mm_madd_epi16(Load(samples + 2 * j), Load(coeffs + 2 * j)));
    if (j < pairs)
      sums = _mm_add_epi32(sums, _mm_madd_epi16(Load(samples + 2 * j),
                                                LoadFirstPairs(coeffs + 2 * j, pairs - j)));
    return sums;
  }

  static __m128i Load(const int16_t *at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
  }

  // The first 1, 2 or 3 coefficient pairs at `at`, the other lanes zero.
  static __m128i LoadFirstPairs(const int16_t *at, int32_t count) {
    int32_t third = 0;
    if (count == 1) {
      std::memcpy(&third, at, sizeof(third));
      return _mm_cvtsi32_si128(third);
    }
    const __m128i firstTwo = _mm_loadl_epi64(reinterpret_cast<const __m128i *>(at));
    if (count == 2) return firstTwo;
    std::memcpy(&third, at + 4, sizeof(third));
    return _mm_unpacklo_epi64(firstTwo, _mm_cvtsi32_si128(third));
  }

  // (sum of a's lanes, of b's, of c's, of d's).
  static __m128i SumAcrossLanes(__m128i a, __m128i b, __m128i c, __m128i d) {
    const __m128i ab = _mm_add_epi32(_mm_unpacklo_epi32(a, b), _mm_unpackhi_epi32(a, b));
    const __m128i cd = _mm_add_epi32(_mm_unpacklo_epi32(c, d), _mm_unpackhi_epi32(c, d));
    return _mm_add_epi32(_mm_unpacklo_epi64(ab, cd), _mm_unpackhi_epi64(ab, cd));
  }
};

}  // namespace simd
