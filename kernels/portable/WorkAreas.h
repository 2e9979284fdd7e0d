// Tile geometry and per-thread work areas of the portable kernel.
//
// Work area 1 holds one source row per thread: the horizontal pass's padded copy of the row it
// overwrites, or the vertical filter's 32-bit sums. Work area 2 holds the combined pass's
// vertically filtered rows of one tile. Tables are not built when the sizes are asked for, so a
// tile is assumed to read up to the whole source row.
#pragma once

#include <cstdint>

#include "SampleFormats.h"
#include "engine/ResizeParams.h"

namespace portable {

constexpr uint32_t kBlockWidth = 256;  // even: YUY2 tiles hold whole output pixel pairs
constexpr uint32_t kBlockHeight = 16;
// Vertical table unit of the combined pass: Offset is the index of the first source line pair.
constexpr int32_t kCombinedVStep = 1;

constexpr int32_t kSliceAlignment = 64;

inline int32_t RoundUpToSlice(int64_t bytes) {
  return static_cast<int32_t>((bytes + kSliceAlignment - 1) / kSliceAlignment * kSliceAlignment);
}

template <class Format>
int32_t __cdecl GetWorkSize1(const ResizeParams *params, int32_t) {
  const int64_t samples =
      static_cast<int64_t>(RowCapacityPixels(params->SrcWidth)) * Format::kSamplesPerPixel;
  return RoundUpToSlice(samples * sizeof(uint32_t));
}

template <class Format>
int32_t __cdecl GetWorkSize2(const ResizeParams *params, int32_t) {
  const bool combined =
      params->SrcWidth != params->DstWidth && params->SrcHeight != params->DstHeight;
  if (!combined) return 0;
  const int64_t samples =
      static_cast<int64_t>(RowCapacityPixels(params->SrcWidth)) * Format::kSamplesPerPixel;
  return RoundUpToSlice(kBlockHeight * samples * sizeof(typename Format::Sample));
}

// Thread `index`'s slice of a work area.
template <typename T>
T *WorkSlice(uint8_t *area, int32_t sliceBytes, int32_t index) {
  return reinterpret_cast<T *>(area + static_cast<size_t>(sliceBytes) * index);
}

}  // namespace portable
