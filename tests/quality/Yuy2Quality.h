// How close a YUY2 resize through the engine comes to the exact result: interior PSNR of luma
// and chroma against the double-precision resampler (ExactResampler.h) run on the same 8-bit
// source with the same window function, beside the PSNR of that exact result rounded to 8 bits,
// the best any 8-bit output can reach.
#pragma once

#include <cstdint>
#include <vector>

#include "contracts/FilterPluginInfo.h"
#include "plugins/WindowFuncPlugin.h"
#include "quality/ExactResampler.h"

namespace quality {

// An 8-bit 4:2:2 picture: luma width x height, U and V (width / 2) x height. Width even.
struct Yuy2Picture {
  int32_t width, height;
  std::vector<uint8_t> y, u, v;
};

// Decibels; the gaps (ceiling - ours) are what a resize loses beyond 8-bit rounding.
struct Yuy2Psnr {
  double luma, chroma;                // the engine's output
  double lumaCeiling, chromaCeiling;  // the exact result rounded and clamped to 8 bits
};

// Resizes `picture` to dstWidth x dstHeight (even width) in YUY2 mode with `function` at its
// default parameter for luma and chroma, `exactShape` being the same function in double
// precision, on the caller's thread.
Yuy2Psnr MeasureYuy2Resize(const Yuy2Picture &picture, int32_t dstWidth, int32_t dstHeight,
                           const FilterPluginInfo &kernel, const WindowFuncInfo &function,
                           const Kernel1D &exactShape);

}  // namespace quality
