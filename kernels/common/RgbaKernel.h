// What an RGBA kernel offers the RGBA engine: a horizontal filter over premultiplied float rows and
// a vertical one that combines filtered rows. Every kernel sums each output sample's taps in tap
// order with one rounded multiply and one rounded add a tap, so all of them give the same bits as
// the portable one.
#pragma once

#include <cstdint>

namespace kernels {

// The horizontal taps of a row: outputs in groups of GroupPixels side by side, each output with
// TapCount taps (shorter blocks padded with zero weights). Weights of group g, tap k: one weight
// per output of the group, each repeated for the pixel's four samples.
struct RgbaRowTaps {
  const int32_t *First;  // first source pixel of each output
  const float *Weights;  // [group][tap][pixel of the group][sample]
  int32_t TapCount;
  int32_t Groups;  // output pixels / GroupPixels, rounded up
};

struct RgbaKernel {
  const char *Name;
  int32_t GroupPixels;  // output pixels a horizontal group holds
  // out (Groups x GroupPixels pixels) from the premultiplied source row `src`, which reads as zeros
  // for TapCount + 2 pixels past its end.
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
