// The RGBA filters written once over an instruction set's float operations (sse2/RgbaOps.h,
// avx2/RgbaOps.h, avx512/RgbaOps.h). A vector holds Ops::kPixels RGBA pixels. Each output sample is
// summed in the order the portable kernel sums it (common/RgbaKernel.h); independent sums are
// taken several at a time so that their additions overlap.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <xmmintrin.h>

#include "common/RgbaFormat.h"
#include "common/RgbaKernel.h"

namespace kernels::simd {

template <class Ops>
struct RgbaFilters {
  using Vec = typename Ops::Vec;
  static constexpr int32_t kFloats = 4 * Ops::kPixels;
  // Vectors of one pixel position of a group: the same pixel of each of the group's rows.
  static constexpr int32_t kGroupVectors = kRgbaGroupRows / Ops::kPixels;
  // Sums held in registers at once: half of them, leaving the rest for weights and pixels.
  static constexpr int32_t kSums = Ops::kRegisters / 2;
  // Outputs the horizontal filter takes together (their pointers stay in registers too).
  static constexpr int32_t kOutputsAtOnce = std::clamp(kSums / kGroupVectors, 1, 8);
  // Vectors of each of the vertical filter's two output rows taken together.
  static constexpr int32_t kVectorsAtOnce = kSums / 2;

  // A vector of sums to kPixels rows of `out`, from row `firstRow`, at float `offset`.
  [[gnu::always_inline]] static inline void StoreToRows(float *const *out, int32_t firstRow,
                                                        size_t offset, Vec sums) {
    __m128 pixels[Ops::kPixels];
    Ops::Split(sums, pixels);
    for (int32_t p = 0; p < Ops::kPixels; ++p) {
      Ops::StorePixel(out[firstRow + p] + offset, pixels[p]);
    }
  }

  // Outputs i .. i + N - 1 of every row of the group.
  template <int32_t N>
  [[gnu::always_inline]] static inline void FilterOutputs(const float *group,
                                                          const RgbaRowTaps &taps, int32_t i,
                                                          float *const *out) {
    const int32_t tapCount = taps.TapCount;
    const float *pixels[N];
    const float *weights[N];
    Vec sums[N][kGroupVectors];
    for (int32_t n = 0; n < N; ++n) {
      pixels[n] = group + kRgbaGroupPixelFloats * static_cast<size_t>(taps.First[i + n]);
      weights[n] = taps.Weights + static_cast<size_t>(i + n) * tapCount;
      for (int32_t v = 0; v < kGroupVectors; ++v) sums[n][v] = Ops::Zero();
    }
    for (int32_t k = 0; k < tapCount; ++k) {
      for (int32_t n = 0; n < N; ++n) {
        const Vec w = Ops::Broadcast(weights[n][k]);
        const float *at = pixels[n] + kRgbaGroupPixelFloats * k;
        for (int32_t v = 0; v < kGroupVectors; ++v) {
          sums[n][v] = Ops::Add(sums[n][v], Ops::Mul(w, Ops::Load(at + v * kFloats)));
        }
      }
    }
    for (int32_t n = 0; n < N; ++n) {
      for (int32_t v = 0; v < kGroupVectors; ++v) {
        StoreToRows(out, v * Ops::kPixels, 4 * static_cast<size_t>(i + n), sums[n][v]);
      }
    }
  }

  static void FilterRows(const float *group, const RgbaRowTaps &taps, float *const *out) {
    int32_t i = 0;
    for (; i + kOutputsAtOnce <= taps.Outputs; i += kOutputsAtOnce) {
      FilterOutputs<kOutputsAtOnce>(group, taps, i, out);
    }
    for (; i < taps.Outputs; ++i) FilterOutputs<1>(group, taps, i, out);
  }

  // The kPixels pixels of v to `out`, a pixel every `pixelFloats` floats: 4 for a plain row,
  // kRgbaGroupPixelFloats for a row of a group.
  [[gnu::always_inline]] static inline void StorePixels(float *out, int32_t pixelFloats, Vec v) {
    if (pixelFloats == 4) return Ops::Store(out, v);
    __m128 pixels[Ops::kPixels];
    Ops::Split(v, pixels);
    for (int32_t p = 0; p < Ops::kPixels; ++p) {
      Ops::StorePixel(out + static_cast<size_t>(p) * pixelFloats, pixels[p]);
    }
  }

  // A vector of sums to float j of a plain row (pixelFloats 4) or of a group's row.
  [[gnu::always_inline]] static inline void StoreSums(float *out, int32_t pixelFloats, int32_t j,
                                                      Vec sums) {
    StorePixels(out + static_cast<size_t>(j / 4) * pixelFloats, pixelFloats, sums);
  }

  // sums[n] += w x (vector n of `row` from float j), n < N.
  template <int32_t N>
  [[gnu::always_inline]] static inline void AddRow(Vec (&sums)[N], Vec w, const float *row) {
    for (int32_t n = 0; n < N; ++n) {
      sums[n] = Ops::Add(sums[n], Ops::Mul(w, Ops::Load(row + n * kFloats)));
    }
  }

  // N vectors from float j of one output row.
  template <int32_t N>
  [[gnu::always_inline]] static inline void CombineOne(const float *const *rows, int32_t count,
                                                       const float *weights, int32_t j,
                                                       float *out, int32_t pixelFloats) {
    Vec sums[N];
    for (int32_t n = 0; n < N; ++n) sums[n] = Ops::Zero();
    for (int32_t k = 0; k < count; ++k) AddRow(sums, Ops::Broadcast(weights[k]), rows[k] + j);
    for (int32_t n = 0; n < N; ++n) StoreSums(out, pixelFloats, j + n * kFloats, sums[n]);
  }

  // N vectors from float j of two output rows whose rows overlap: rows before the second's first
  // feed the first sum, shared rows both, the rest the second.
  template <int32_t N>
  [[gnu::always_inline]] static inline void CombinePair(const float *const *rows, int32_t count,
                                                        const RgbaRowSum *sums, int32_t j,
                                                        int32_t pixelFloats) {
    const int32_t offset = sums[1].FirstRow;
    const float *first = sums[0].Weights, *second = sums[1].Weights - offset;
    Vec a[N], b[N];
    for (int32_t n = 0; n < N; ++n) a[n] = b[n] = Ops::Zero();
    int32_t u = 0;
    for (; u < offset; ++u) AddRow(a, Ops::Broadcast(first[u]), rows[u] + j);
    for (; u < count; ++u) {
      const Vec wa = Ops::Broadcast(first[u]), wb = Ops::Broadcast(second[u]);
      const float *row = rows[u] + j;
      for (int32_t n = 0; n < N; ++n) {
        const Vec x = Ops::Load(row + n * kFloats);
        a[n] = Ops::Add(a[n], Ops::Mul(wa, x));
        b[n] = Ops::Add(b[n], Ops::Mul(wb, x));
      }
    }
    for (; u < offset + count; ++u) AddRow(b, Ops::Broadcast(second[u]), rows[u] + j);
    for (int32_t n = 0; n < N; ++n) {
      StoreSums(sums[0].Out, pixelFloats, j + n * kFloats, a[n]);
      StoreSums(sums[1].Out, pixelFloats, j + n * kFloats, b[n]);
    }
  }

  static void CombineRows(const float *const *rows, int32_t count, const RgbaRowSum *sums,
                          int32_t floats, int32_t outPixelFloats) {
    constexpr int32_t kBlock = kVectorsAtOnce * kFloats;
    if (sums[1].Out && sums[1].FirstRow <= count) {
      int32_t j = 0;
      for (; j + kBlock <= floats; j += kBlock) {
        CombinePair<kVectorsAtOnce>(rows, count, sums, j, outPixelFloats);
      }
      for (; j < floats; j += kFloats) CombinePair<1>(rows, count, sums, j, outPixelFloats);
      return;
    }
    for (int s = 0; s < 2 && sums[s].Out; ++s) {
      const float *const *first = rows + sums[s].FirstRow;
      const float *weights = sums[s].Weights;
      int32_t j = 0;
      for (; j + kBlock <= floats; j += kBlock) {
        CombineOne<kVectorsAtOnce>(first, count, weights, j, sums[s].Out, outPixelFloats);
      }
      for (; j < floats; j += kFloats) {
        CombineOne<1>(first, count, weights, j, sums[s].Out, outPixelFloats);
      }
    }
  }

  // Linear light goes through the tables one sample at a time, as the portable kernel does.
  static void PremultiplyRow(const uint8_t *src, int32_t width, const uint16_t *decode, float *out,
                             int32_t pixelFloats) {
    if (decode) return kernels::PremultiplyRow(src, width, decode, out, pixelFloats);
    int32_t x = 0;
    for (; x + Ops::kPixels <= width; x += Ops::kPixels) {
      StorePixels(out + static_cast<size_t>(pixelFloats) * x, pixelFloats,
                  Premultiplied(src + 4 * x));
    }
    kernels::PremultiplyRow(src + 4 * x, width - x, nullptr,
                            out + static_cast<size_t>(pixelFloats) * x, pixelFloats);
  }

  [[gnu::always_inline]] static inline Vec Premultiplied(const uint8_t *pixels) {
    const Vec samples = Ops::BytesToFloats(pixels);
    // (alpha, alpha, alpha, 1) for every pixel: colour x alpha, and alpha as it is.
    return Ops::Mul(samples, Ops::SelectAlphaLane(Ops::AlphaOfEach(samples), Ops::Broadcast(1.0f)));
  }

  // Four vectors of sums are finished at once: their alphas gathered into one vector, so one
  // division gives every pixel's reciprocal. Each lane is rounded half up by adding one half and
  // truncating; the packs to bytes saturate, which clamps to 0 .. 255 as the portable kernel does
  // (every result with an alpha that rounds above 0 is finite and far inside 32 bits).
  static void FinishRow(const float *sums, int32_t width, const float *thresholds, uint8_t *out) {
    if (thresholds) return kernels::FinishRow(sums, width, thresholds, out);
    constexpr int32_t kStep = 4 * Ops::kPixels;
    const Vec one = Ops::Broadcast(1.0f), half = Ops::Broadcast(0.5f);
    int32_t x = 0;
    for (; x + kStep <= width; x += kStep) {
      Vec s[4];
      for (int i = 0; i < 4; ++i) s[i] = Ops::Load(sums + 4 * x + i * kFloats);
      // Per 128-bit lane: the alphas of s[0] and s[1], then of s[2] and s[3].
      const Vec alphas = Ops::template Shuffle<0x88>(Ops::template Shuffle<0xFF>(s[0], s[1]),
                                                     Ops::template Shuffle<0xFF>(s[2], s[3]));
      const Vec inverses = Ops::Div(one, alphas);
      const auto halfUp = [&](Vec sum, Vec inverse) {
        return Ops::Add(Ops::SelectAlphaLane(Ops::Mul(sum, inverse), sum), half);
      };
      const Vec rounded[4] = {halfUp(s[0], Ops::template Shuffle<0x00>(inverses, inverses)),
                              halfUp(s[1], Ops::template Shuffle<0x55>(inverses, inverses)),
                              halfUp(s[2], Ops::template Shuffle<0xAA>(inverses, inverses)),
                              halfUp(s[3], Ops::template Shuffle<0xFF>(inverses, inverses))};
      // Alpha that rounds to 0 makes the pixel transparent black.
      Ops::StoreSaturatedBytesOfVisiblePixels(out + 4 * x, rounded);
    }
    kernels::FinishRow(sums + 4 * x, width - x, nullptr, out + 4 * x);
  }

  static constexpr RgbaKernel Kernel(const char *name) {
    return RgbaKernel{name, PremultiplyRow, FinishRow, FilterRows, CombineRows};
  }
};

}  // namespace kernels::simd
