// Per-thread work areas of the kernels, sized by the filters a kernel is built from
// (FilterContract.h).
//
// Work area 1 is the vertical filter's scratch for the lines it takes at once. Work area 2 holds
// the tile filter's buffers: the plain rows the combined pass filters vertically and the
// transposed rows. Tables are not built when the sizes are asked for, so a row is assumed to
// read up to the whole source row and a vertical block up to every source line.
#pragma once

#include <cstdint>

#include "contracts/ResizeParams.h"

namespace kernels {

constexpr int32_t kSliceAlignment = 64;

inline int32_t RoundUpToSlice(int64_t bytes) {
  return static_cast<int32_t>((bytes + kSliceAlignment - 1) / kSliceAlignment * kSliceAlignment);
}

template <class Filters>
int32_t __cdecl GetWorkSize1(const ResizeParams *params, int32_t) {
  return RoundUpToSlice(Filters::LineScratchBytes(params->SrcWidth, params->SrcHeight));
}

template <class Filters>
int32_t __cdecl GetWorkSize2(const ResizeParams *params, int32_t) {
  return RoundUpToSlice(Filters::TileFilter::BufferBytes(params->SrcWidth, params->DstWidth));
}

// Thread `index`'s slice of a work area.
template <typename T>
T *WorkSlice(uint8_t *area, int32_t sliceBytes, int32_t index) {
  return reinterpret_cast<T *>(area + static_cast<size_t>(sliceBytes) * index);
}

// Thread `index`'s slice of work area 2: its tile filter's buffers.
inline void *TileBuffer(const ResizeParams &p, int32_t index) {
  return WorkSlice<uint8_t>(p.Work2, p.Work2Size, index);
}

}  // namespace kernels
