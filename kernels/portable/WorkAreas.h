// Per-thread work areas of the kernels, sized by the row and line filters a kernel is built
// from (see PortableFilters.h for the interface).
//
// Work area 1 is the vertical filter's scratch for one output line. Work area 2 holds the
// horizontal filter's buffers: for a kernel that filters whole tiles at once, the tile
// filter's; for one that filters row by row, the prepared source row and one plain row that
// the combined pass filters vertically before preparing it. Tables are not built when the
// sizes are asked for, so a row is assumed to read up to the whole source row and a vertical
// block up to every source line.
#pragma once

#include <cstdint>
#include <type_traits>

#include "SampleFormats.h"
#include "engine/ResizeParams.h"

namespace portable {

constexpr int32_t kSliceAlignment = 64;

inline int32_t RoundUpToSlice(int64_t bytes) {
  return static_cast<int32_t>((bytes + kSliceAlignment - 1) / kSliceAlignment * kSliceAlignment);
}

template <class Filters>
int32_t PlainRowBytes(int32_t srcWidth) {
  return RowCapacityPixels(srcWidth) * Filters::kSpp *
         static_cast<int32_t>(sizeof(typename Filters::Sample));
}

// Whether a kernel filters rows horizontally a tile's height at a time (Filters::TileFilter)
// rather than row by row.
template <class Filters, class = void>
struct FiltersWholeTiles : std::false_type {};
template <class Filters>
struct FiltersWholeTiles<Filters, std::void_t<typename Filters::TileFilter>> : std::true_type {};

template <class Filters>
int32_t __cdecl GetWorkSize1(const ResizeParams *params, int32_t) {
  return RoundUpToSlice(Filters::LineScratchBytes(params->SrcWidth, params->SrcHeight));
}

template <class Filters>
int32_t __cdecl GetWorkSize2(const ResizeParams *params, int32_t) {
  if constexpr (FiltersWholeTiles<Filters>::value)
    return RoundUpToSlice(Filters::TileFilter::BufferBytes(params->SrcWidth));
  else
    return RoundUpToSlice(Filters::PreparedRowBytes(params->SrcWidth)) +
           RoundUpToSlice(PlainRowBytes<Filters>(params->SrcWidth));
}

// Thread `index`'s slice of a work area.
template <typename T>
T *WorkSlice(uint8_t *area, int32_t sliceBytes, int32_t index) {
  return reinterpret_cast<T *>(area + static_cast<size_t>(sliceBytes) * index);
}

// The prepared row and the plain row of a thread's slice of work area 2.
template <class Filters>
struct RowBuffers {
  void *Prepared;
  typename Filters::Sample *Plain;
};

template <class Filters>
RowBuffers<Filters> RowBuffersOf(const ResizeParams &p, int32_t index) {
  uint8_t *slice = WorkSlice<uint8_t>(p.Work2, p.Work2Size, index);
  uint8_t *plain = slice + RoundUpToSlice(Filters::PreparedRowBytes(p.SrcWidth));
  return {slice, reinterpret_cast<typename Filters::Sample *>(plain)};
}

}  // namespace portable
