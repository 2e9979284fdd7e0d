// The RGBA filters written once over an instruction set's float operations (sse2/RgbaOps.h,
// avx2/RgbaOps.h, avx512/RgbaOps.h). A vector holds Ops::kPixels RGBA pixels. Each output sample is
// summed in the order the portable kernel sums it (common/RgbaKernel.h); independent outputs are
// taken several at a time so that their sums' additions overlap.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/RgbaFormat.h"
#include "common/RgbaKernel.h"

namespace kernels::simd {

template <class Ops>
struct RgbaFilters {
  using Vec = typename Ops::Vec;
  static constexpr int32_t kFloats = 4 * Ops::kPixels;

  // Vectors of one output's partial sums (kRgbaTapQuad of them, Ops::kPixels to a vector).
  static constexpr int32_t kPartialVectors = kRgbaTapQuad / Ops::kPixels;
  // Outputs filtered together, so that their sums' additions overlap.
  static constexpr int32_t kOutputsAtOnce = Ops::kRegisters >= 16 ? 4 : 2;
  // Vectors of the vertical filter's sums held at once.
  static constexpr int32_t kVectorsAtOnce = Ops::kRegisters >= 32 ? 8 : 4;

  // Taps k .. k + kPixels - 1 of N outputs into their partial sums v.
  template <int32_t N>
  [[gnu::always_inline]] static inline void AddTaps(Vec (&sums)[N][kPartialVectors], int32_t v,
                                                    const float *const *pixels,
                                                    const float *const *weights, int32_t k) {
    for (int32_t n = 0; n < N; ++n) {
      sums[n][v] = Ops::Add(sums[n][v],
                            Ops::Mul(Ops::Load(weights[n] + 4 * k), Ops::Load(pixels[n] + 4 * k)));
    }
  }

  template <int32_t N>
  [[gnu::always_inline]] static inline void FilterOutputs(const float *src, const RgbaRowTaps &taps,
                                                          int32_t i, float *out) {
    const int32_t tapCount = taps.TapCount;
    const float *pixels[N];
    const float *weights[N];
    Vec sums[N][kPartialVectors];
    for (int32_t n = 0; n < N; ++n) {
      pixels[n] = src + 4 * taps.First[i + n];
      weights[n] = taps.Weights + static_cast<size_t>(i + n) * tapCount * 4;
      for (int32_t v = 0; v < kPartialVectors; ++v) sums[n][v] = Ops::Zero();
    }
    int32_t k = 0;
    for (; k + kRgbaTapQuad <= tapCount; k += kRgbaTapQuad) {
#pragma GCC unroll 4
      for (int32_t v = 0; v < kPartialVectors; ++v) {
        AddTaps<N>(sums, v, pixels, weights, k + v * Ops::kPixels);
      }
    }
    // The last taps short of a quad (the partial sums' indices stay constants).
#pragma GCC unroll 4
    for (int32_t v = 0; v < kPartialVectors; ++v) {
      if (k + v * Ops::kPixels < tapCount)
        AddTaps<N>(sums, v, pixels, weights, k + v * Ops::kPixels);
    }
    for (int32_t n = 0; n < N; ++n) Ops::StorePixel(out + 4 * (i + n), Ops::SumPartials(sums[n]));
  }

  static void FilterRow(const float *src, const RgbaRowTaps &taps, float *out) {
    int32_t i = 0;
    for (; i + kOutputsAtOnce <= taps.Outputs; i += kOutputsAtOnce) {
      FilterOutputs<kOutputsAtOnce>(src, taps, i, out);
    }
    for (; i < taps.Outputs; ++i) FilterOutputs<1>(src, taps, i, out);
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

  // Linear light goes through the tables one sample at a time, as the portable kernel does.
  static void PremultiplyRow(const uint8_t *src, int32_t width, const uint16_t *decode,
                             float *out) {
    if (decode) return kernels::PremultiplyRow(src, width, decode, out);
    int32_t x = 0;
    for (; x + Ops::kPixels <= width; x += Ops::kPixels) {
      const Vec samples = Ops::BytesToFloats(src + 4 * x);
      // (alpha, alpha, alpha, 1) for every pixel: colour x alpha, and alpha as it is.
      const Vec factors = Ops::SelectAlphaLane(Ops::AlphaOfEach(samples), Ops::Broadcast(1.0f));
      Ops::Store(out + 4 * x, Ops::Mul(samples, factors));
    }
    kernels::PremultiplyRow(src + 4 * x, width - x, nullptr, out + 4 * x);
  }

  static void FinishRow(const float *sums, int32_t width, const float *thresholds, uint8_t *out) {
    if (thresholds) return kernels::FinishRow(sums, width, thresholds, out);
    const Vec zero = Ops::Zero(), half = Ops::Broadcast(0.5f), one = Ops::Broadcast(1.0f);
    const Vec top = Ops::Broadcast(255.0f);
    int32_t x = 0;
    for (; x + Ops::kPixels <= width; x += Ops::kPixels) {
      const Vec s = Ops::Load(sums + 4 * x);
      const Vec alpha = Ops::AlphaOfEach(s);
      const Vec alphaHalfUp = Ops::Add(Ops::Min(Ops::Max(alpha, zero), top), half);
      const Vec colourHalfUp = Ops::Add(Ops::Min(Ops::Max(Ops::Div(s, alpha), zero), top), half);
      const Vec rounded = Ops::SelectAlphaLane(colourHalfUp, alphaHalfUp);
      // Alpha that truncates to 0 makes the pixel transparent black.
      Ops::StoreTruncatedBytes(out + 4 * x, Ops::ZeroWhereBelow(rounded, alphaHalfUp, one));
    }
    kernels::FinishRow(sums + 4 * x, width - x, nullptr, out + 4 * x);
  }

  static constexpr RgbaKernel Kernel(const char *name) {
    return RgbaKernel{name, Ops::kPixels, PremultiplyRow, FinishRow, FilterRow, CombineRows};
  }
};

}  // namespace kernels::simd
