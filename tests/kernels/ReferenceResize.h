// A scalar reference for the kernel routines, written independently of them: every output
// sample is evaluated on its own, straight from the weight table, with no tiles and no threads.
// The combined pass is the vertical pass into rows between the passes followed by the horizontal.
#pragma once

#include <cstdint>
#include <vector>

#include "contracts/WeightTable.h"

enum class FrameFormat { YC48, YUY2 };

// A frame in the host's layout: `width` x `height` pixels at the top-left of lines of `lineSize`.
struct Frame {
  FrameFormat format;
  int32_t width, height, lineSize;
  std::vector<uint8_t> bytes;  // lineSize x height
};

int32_t BytesPerPixel(FrameFormat format);

// `pairCoeffs`: 2 for shared, 4 for separate weights. YUY2 horizontal tables always have the
// YUY2 layout. Steps are the tables' position units.
Frame ReferenceHorizontal(const Frame &src, const WeightTable &table, int32_t hStep,
                          int pairCoeffs, int32_t dstWidth);
Frame ReferenceVertical(const Frame &src, const WeightTable &table, int32_t vStep,
                        int pairCoeffs, int32_t dstHeight);
// Both axes. YC48 rows between the passes are frame samples, rounded and clamped like an
// output. YUY2 rows keep 16 bits with 6 fraction bits (-512 to 511.98, saturated), so only the
// final output is rounded and clamped to 8 bits.
Frame ReferenceCombined(const Frame &src, const WeightTable &vTable, int32_t vStep,
                        const WeightTable &hTable, int32_t hStep, int pairCoeffs,
                        int32_t dstWidth, int32_t dstHeight);
