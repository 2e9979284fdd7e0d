// The filters of a SIMD kernel (common/FilterContract.h), written once over an instruction
// set's operations (`Ops`): the vertical filter, and the tile filter of the frame format. Lines
// too short for a vector step take the scalar filter.
//
// A new instruction set is one Ops type (see sse2/Ops.h, simd/Avx2Ops.h, avx512/Ops.h) and a
// Kernel.cpp that builds the records from SimdFilters over it. The Ops supply:
//   Vec, kLanes (32-bit lanes), kSamples (16-bit samples a vertical step takes);
//   the vertical filter's settings kVerticalPairsPerPass, kVerticalLinesAtOnce, LaneSample;
//   the tile filters' kYC48TileRows and kYUY2TileRows (multiples of kLanes), kInlineYC48Tile,
//   kYC48ColumnsAtOnce (1, or 2 with StoreYC48Columns), kYUY2PixelPairsAtOnce (1, or 2 with
//   StoreRowWordPairs);
//   Zero, RoundingBias, Descale, LoadLanes, Load, Store, BroadcastPair, AddPairProducts,
//   PackSigned32, PackUnsigned16, InterleaveLow/High16, 32 and 64 (within 128-bit blocks);
//   InterleaveLines and StoreDescaled for 16-bit and 8-bit lines (the vertical filter);
//   TransposeYC48Pair, TransposeYUY2Group, StoreYC48Column and StoreRowWords (the tile
//   filters: a group of kLanes rows, row i in lane i).
#pragma once

#include <cstdint>
#include <type_traits>

#include "common/FrameLines.h"
#include "common/SampleFormats.h"
#include "simd/TileYC48.h"
#include "simd/TileYUY2.h"
#include "simd/VerticalFilter.h"

namespace kernels::simd {

// Tiles of the combined pass: whole-width strips where the frame allows, so that no source
// column is filtered vertically twice, and short enough that two threads share a frame evenly.
constexpr uint32_t kSimdBlockWidth = 2048;  // even: YUY2 tiles hold whole output pixel pairs

// The vertical filter and the tile filter meet only in the tile's plain rows, so each may run
// over operations of its own (TileOps): where one vector width suits the vertical filter and
// another the tile filter.
template <class Ops, class FrameFormat, class CoeffLayout, class TileOps = Ops>
struct SimdFilters {
  using Format = FrameFormat;
  using Layout = CoeffLayout;
  using Sample = typename Format::Sample;
  static constexpr int kSpp = Format::kSamplesPerPixel;
  static constexpr uint32_t kBlockWidth = kSimdBlockWidth;
  using Vertical = VerticalFilter<Ops, Format, Layout>;
  using TileFilter = typename std::conditional<std::is_same<Format, YUY2Format>::value,
                                               TileYUY2<TileOps>, TileYC48<TileOps, Layout>>::type;
  static constexpr uint32_t kBlockHeight = TileFilter::kRows;

  static constexpr int32_t kLinesAtOnce = Vertical::kLinesAtOnce;

  static int32_t LineScratchBytes(int32_t, int32_t srcHeight) {
    return Vertical::ScratchBytes(srcHeight);
  }

  // Into frame samples, or the combined pass's plain rows.
  template <typename Out>
  static void FilterLines(const SourceFrame<Format> &source, const WeightEntry *entries,
                          int32_t pairStep, int32_t count, int32_t pixelBegin, int32_t pixelEnd,
                          void *scratch, Out *const *outs) {
    Vertical::FilterLines(source, entries, pairStep, count, pixelBegin, pixelEnd, scratch, outs);
  }
};

}  // namespace kernels::simd
