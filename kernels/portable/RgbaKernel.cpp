// The scalar RGBA kernel: the reference every vector kernel's output matches bit for bit.
#include "common/RgbaKernel.h"

#include <cstddef>

#include "common/RgbaFormat.h"

namespace kernels {
namespace {

void FilterRows(const float *group, const RgbaRowTaps &taps, float *const *out) {
  for (int32_t i = 0; i < taps.Outputs; ++i) {
    const float *weights = taps.Weights + static_cast<size_t>(i) * taps.TapCount;
    const float *pixels = group + kRgbaGroupPixelFloats * static_cast<size_t>(taps.First[i]);
    for (int32_t r = 0; r < kRgbaGroupRows; ++r) {
      for (int c = 0; c < 4; ++c) {
        float sum = 0;
        for (int32_t k = 0; k < taps.TapCount; ++k) {
          sum = sum + weights[k] * pixels[kRgbaGroupPixelFloats * k + 4 * r + c];
        }
        out[r][4 * i + c] = sum;
      }
    }
  }
}

void CombineRows(const float *const *rows, int32_t count, const RgbaRowSum *sums,
                 int32_t floats, int32_t outPixelFloats) {
  for (int s = 0; s < 2 && sums[s].Out; ++s) {
    const float *const *first = rows + sums[s].FirstRow;
    for (int32_t j = 0; j < floats; ++j) {
      float sum = 0;
      for (int32_t k = 0; k < count; ++k) sum = sum + sums[s].Weights[k] * first[k][j];
      sums[s].Out[j / 4 * outPixelFloats + j % 4] = sum;
    }
  }
}

}  // namespace

const RgbaKernel kPortableRgbaKernel{"C++", PremultiplyRow, FinishRow, FilterRows, CombineRows};

}  // namespace kernels
