// What an RGBA kernel offers the RGBA engine: premultiplying source rows, a horizontal filter over
// groups of premultiplied float rows, a vertical one that combines rows into two output rows at
// once, and finishing output rows. Every kernel sums each output sample's taps in tap order, one
// rounded multiply and one rounded add a tap, starting from zero, so all of them give the same
// bits as the portable one.
#pragma once

#include <cstdint>

namespace kernels {

// Rows the horizontal filter takes at once. A group holds them interleaved, pixel by pixel: pixel
// x of row r is floats [4 * (kRgbaGroupRows * x + r), + 4). Each tap's weight is then loaded once
// for all the group's rows, and its pixels lie side by side.
constexpr int32_t kRgbaGroupRows = 4;
constexpr int32_t kRgbaGroupPixelFloats = 4 * kRgbaGroupRows;

// The horizontal taps of a row: each output has TapCount taps (shorter blocks padded with zero
// weights).
struct RgbaRowTaps {
  const int32_t *First;  // first source pixel of each output
  const float *Weights;  // [output][tap]
  int32_t TapCount;
  int32_t Outputs;
};

// One output row of the vertical filter: the sum over k < count of Weights[k] x rows[FirstRow + k].
struct RgbaRowSum {
  const float *Weights;
  int32_t FirstRow;  // into the rows handed over
  float *Out;        // a pixel every `outPixelFloats` floats (see CombineRows)
};

struct RgbaKernel {
  const char *Name;
  // PremultiplyRow of common/RgbaFormat.h, a pixel every `pixelFloats` floats (4: a plain row,
  // kRgbaGroupPixelFloats: a row of a group).
  void (*PremultiplyRow)(const uint8_t *src, int32_t width, const uint16_t *decode, float *out,
                         int32_t pixelFloats);
  // FinishRow of common/RgbaFormat.h, with the same results.
  void (*FinishRow)(const float *sums, int32_t width, const float *thresholds, uint8_t *out);
  // out[r] (Outputs pixels) from row r of `group`, for every r < kRgbaGroupRows; the group reads
  // as zeros for TapCount pixels past its end.
  void (*FilterRows)(const float *group, const RgbaRowTaps &taps, float *const *out);
  // The `floats` (a multiple of 16) samples of sums[0] and, when sums[1].Out is not null,
  // sums[1] (FirstRow of sums[0] is 0, of sums[1] at least 0): each row of `rows` is loaded once
  // for both. The sums go out as a plain row (outPixelFloats 4) or as a row of a group
  // (kRgbaGroupPixelFloats).
  void (*CombineRows)(const float *const *rows, int32_t count, const RgbaRowSum *sums,
                      int32_t floats, int32_t outPixelFloats);
};

// The kernels, each in its own unit compiled for its instruction set.
extern const RgbaKernel kPortableRgbaKernel;
extern const RgbaKernel kSse2RgbaKernel;
extern const RgbaKernel kAvx2RgbaKernel;
extern const RgbaKernel kAvx512RgbaKernel;

}  // namespace kernels
