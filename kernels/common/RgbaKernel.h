// What an RGBA kernel offers the RGBA engine: premultiplying source rows, a horizontal filter over
// premultiplied float rows, a vertical one that combines rows, and finishing output rows. Every
// kernel sums each output sample's taps in one fixed order with one rounded multiply and one
// rounded add a tap, so all of them give the same bits as the portable one.
#pragma once

#include <cstdint>

namespace kernels {

// The horizontal taps of a row: each output has TapCount taps, a multiple of the kernel's
// TapMultiple (shorter blocks padded with zero weights), each weight repeated for the pixel's four
// samples.
struct RgbaRowTaps {
  const int32_t *First;  // first source pixel of each output
  const float *Weights;  // [output][tap][sample]
  int32_t TapCount;
  int32_t Outputs;
};

// The horizontal filter keeps kRgbaTapQuad partial sums per output sample: sum j takes taps j,
// j + 4, j + 8, ... in order, one multiply and one add a tap, and the output is
// (sum 0 + sum 1) + (sum 2 + sum 3). Four neighbouring source pixels are then one 512-bit load.
// A padding tap adds an exact zero, which changes no sum's value (at most the sign of a zero
// sum, which no output byte shows), so each kernel pads to its own multiple only.
constexpr int32_t kRgbaTapQuad = 4;

struct RgbaKernel {
  const char *Name;
  int32_t TapMultiple;  // horizontal taps the kernel takes at once: 1, 2 or kRgbaTapQuad
  // PremultiplyRow and FinishRow of common/RgbaFormat.h, with the same results.
  void (*PremultiplyRow)(const uint8_t *src, int32_t width, const uint16_t *decode, float *out);
  void (*FinishRow)(const float *sums, int32_t width, const float *thresholds, uint8_t *out);
  // out (Outputs pixels) from the premultiplied source row `src`, which reads as zeros for
  // TapCount + 2 pixels past its end.
  void (*FilterRow)(const float *src, const RgbaRowTaps &taps, float *out);
  // out[j] = sum over k of weights[k] x rows[k][j], j < floats (a multiple of 16).
  void (*CombineRows)(const float *const *rows, const float *weights, int32_t count, int32_t floats,
                      float *out);
};

// The kernels, each in its own unit compiled for its instruction set.
extern const RgbaKernel kPortableRgbaKernel;
extern const RgbaKernel kSse2RgbaKernel;
extern const RgbaKernel kAvx2RgbaKernel;
extern const RgbaKernel kAvx512RgbaKernel;

}  // namespace kernels
