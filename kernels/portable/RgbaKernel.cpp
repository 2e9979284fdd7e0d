// The scalar RGBA kernel: the reference every vector kernel's output matches bit for bit.
#include "common/RgbaKernel.h"

#include "common/RgbaFormat.h"

namespace kernels {
namespace {

void FilterRow(const float *src, const RgbaRowTaps &taps, float *out) {
  const float *weights = taps.Weights;
  for (int32_t i = 0; i < taps.Outputs; ++i, out += 4) {
    const float *pixels = src + 4 * taps.First[i];
    float sums[kRgbaTapQuad][4] = {};
    for (int32_t k = 0; k < taps.TapCount; ++k, weights += 4, pixels += 4) {
      float *sum = sums[k % kRgbaTapQuad];
      for (int c = 0; c < 4; ++c) sum[c] = sum[c] + weights[c] * pixels[c];
    }
    for (int c = 0; c < 4; ++c) out[c] = (sums[0][c] + sums[1][c]) + (sums[2][c] + sums[3][c]);
  }
}

void CombineRows(const float *const *rows, const float *weights, int32_t count, int32_t floats,
                 float *out) {
  for (int32_t j = 0; j < floats; ++j) {
    float sum = 0;
    for (int32_t k = 0; k < count; ++k) sum = sum + weights[k] * rows[k][j];
    out[j] = sum;
  }
}

}  // namespace

const RgbaKernel kPortableRgbaKernel{"C++", 1, PremultiplyRow, FinishRow, FilterRow, CombineRows};

}  // namespace kernels
