// The RGBA filters written once over an instruction set's float operations (sse2/RgbaOps.h,
// avx2/RgbaOps.h, avx512/RgbaOps.h). A vector holds Ops::kPixels RGBA pixels. Each output sample is
// summed in tap order, one multiply and one add a tap, as the portable kernel does; independent
// outputs are taken several at a time so that their sums' additions overlap.
#pragma once

#include <cstdint>

#include "common/RgbaKernel.h"

namespace kernels::simd {

template <class Ops>
struct RgbaFilters {
  using Vec = typename Ops::Vec;
  static constexpr int32_t kFloats = 4 * Ops::kPixels;

  // Groups of outputs filtered together: their sums live in registers at once.
  static constexpr int32_t kGroupsAtOnce = Ops::kRegisters >= 32 ? 8 : 4;
  // Vectors of the vertical filter's sums held at once.
  static constexpr int32_t kVectorsAtOnce = Ops::kRegisters >= 32 ? 8 : 4;

  template <int32_t N>
  [[gnu::always_inline]] static inline void FilterGroups(const float *src, const RgbaRowTaps &taps,
                                                         int32_t g, float *out) {
    const int32_t tapCount = taps.TapCount;
    const int32_t *first = taps.First + g * Ops::kPixels;
    const float *weights = taps.Weights + g * tapCount * kFloats;
    Vec sums[N];
    for (int32_t n = 0; n < N; ++n) sums[n] = Ops::Zero();
    for (int32_t k = 0; k < tapCount; ++k) {
      for (int32_t n = 0; n < N; ++n) {
        const Vec w = Ops::Load(weights + (n * tapCount + k) * kFloats);
        const Vec x = Ops::LoadPixels(src + 4 * k, first + n * Ops::kPixels);
        sums[n] = Ops::Add(sums[n], Ops::Mul(w, x));
      }
    }
    for (int32_t n = 0; n < N; ++n) Ops::Store(out + (g + n) * kFloats, sums[n]);
  }

  static void FilterRow(const float *src, const RgbaRowTaps &taps, float *out) {
    int32_t g = 0;
    for (; g + kGroupsAtOnce <= taps.Groups; g += kGroupsAtOnce) {
      FilterGroups<kGroupsAtOnce>(src, taps, g, out);
    }
    for (; g < taps.Groups; ++g) FilterGroups<1>(src, taps, g, out);
  }

  template <int32_t N>
  [[gnu::always_inline]] static inline void CombineVectors(const float *const *rows,
                                                           const float *weights, int32_t count,
                                                           int32_t j, float *out) {
    Vec sums[N];
    for (int32_t n = 0; n < N; ++n) sums[n] = Ops::Zero();
    for (int32_t k = 0; k < count; ++k) {
      const Vec w = Ops::Broadcast(weights[k]);
      const float *row = rows[k] + j;
      for (int32_t n = 0; n < N; ++n) {
        sums[n] = Ops::Add(sums[n], Ops::Mul(w, Ops::Load(row + n * kFloats)));
      }
    }
    for (int32_t n = 0; n < N; ++n) Ops::Store(out + j + n * kFloats, sums[n]);
  }

  static void CombineRows(const float *const *rows, const float *weights, int32_t count,
                          int32_t floats, float *out) {
    int32_t j = 0;
    for (; j + kVectorsAtOnce * kFloats <= floats; j += kVectorsAtOnce * kFloats) {
      CombineVectors<kVectorsAtOnce>(rows, weights, count, j, out);
    }
    for (; j < floats; j += kFloats) CombineVectors<1>(rows, weights, count, j, out);
  }

  static constexpr RgbaKernel Kernel(const char *name) {
    return RgbaKernel{name, Ops::kPixels, FilterRow, CombineRows};
  }
};

}  // namespace kernels::simd
