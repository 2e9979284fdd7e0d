// What a kernel's filters must offer the pass templates (Passes.h), checked when the kernel's
// records are built (KernelRecord.h). A kernel supplies one `Filters` class per frame format and
// coefficient layout:
//   Format, Layout, Sample, kSpp      the frame format (SampleFormats.h), the coefficient layout,
//                                     the format's sample type and samples per pixel;
//   kBlockWidth, kBlockHeight         output columns and rows of a tile of the combined pass;
//   kLinesAtOnce                      output lines the vertical filter takes together;
//   LineScratchBytes(srcWidth, srcHeight)
//                                     bytes of work area 1 per thread (the vertical filter's);
//   FilterLines(source, entries, pairStep, count, pixelBegin, pixelEnd, scratch, outs)
//                                     count (<= kLinesAtOnce) output lines filtered vertically,
//                                     into frame samples or Format::Intermediate samples;
//   TileFilter                        the horizontal filter of a tile's rows, with
//     kRows                             rows it takes at once, kBlockHeight;
//     BufferBytes(srcWidth, dstWidth)   bytes of work area 2 per thread (its buffers);
//     TileFilter(params, buffer)        set up over the thread's slice of work area 2;
//     PlainRow(r)                       row r of the tile that the vertical filter writes, of
//                                       Format::Intermediate samples;
//     Filter(rows, rowCount, columns, xBegin, xEnd, out, lineSize)
//                                       the tile's output pixels [xBegin, xEnd), from rows of
//                                       frame samples or of Format::Intermediate samples.
#pragma once

#include <cstdint>
#include <type_traits>
#include <utility>

#include "common/FrameLines.h"
#include "common/SampleFormats.h"
#include "contracts/ResizeParams.h"
#include "contracts/WeightTable.h"

namespace kernels {
namespace contract {

template <class F, class = void>
struct NamesTypes : std::false_type {};
template <class F>
struct NamesTypes<F, std::void_t<typename F::Format, typename F::Layout, typename F::Sample,
                                 typename F::TileFilter>> : std::true_type {};

template <class F, class = void>
struct HasSizes : std::false_type {};
template <class F>
struct HasSizes<F, std::void_t<decltype(int32_t{F::kBlockWidth}), decltype(int32_t{F::kBlockHeight}),
                               decltype(int{F::kSpp}), decltype(int32_t{F::kLinesAtOnce}),
                               decltype(int32_t{F::TileFilter::kRows})>> : std::true_type {};

template <class F, class = void>
struct HasVerticalFilter : std::false_type {};
template <class F>
struct HasVerticalFilter<
    F, std::void_t<decltype(int32_t{F::LineScratchBytes(int32_t{}, int32_t{})}),
                   decltype(F::FilterLines(
                       std::declval<const SourceFrame<typename F::Format> &>(),
                       std::declval<const WeightEntry *>(), int32_t{}, int32_t{}, int32_t{},
                       int32_t{}, std::declval<void *>(),
                       std::declval<typename F::Sample *const *>())),
                   decltype(F::FilterLines(
                       std::declval<const SourceFrame<typename F::Format> &>(),
                       std::declval<const WeightEntry *>(), int32_t{}, int32_t{}, int32_t{},
                       int32_t{}, std::declval<void *>(),
                       std::declval<typename F::Format::Intermediate *const *>()))>>
    : std::true_type {};

template <class F, class Tile = typename F::TileFilter, class = void>
struct HasTileFilter : std::false_type {};
template <class F, class Tile>
struct HasTileFilter<
    F, Tile,
    std::void_t<decltype(int32_t{Tile::BufferBytes(int32_t{}, int32_t{})}),
                decltype(Tile(std::declval<const ResizeParams &>(), std::declval<void *>())),
                decltype(std::declval<const Tile &>().Filter(
                    std::declval<const typename F::Sample *const *>(), int32_t{},
                    std::declval<const TileColumns &>(), int32_t{}, int32_t{},
                    std::declval<void *>(), int32_t{})),
                decltype(std::declval<const Tile &>().Filter(
                    std::declval<const typename F::Format::Intermediate *const *>(), int32_t{},
                    std::declval<const TileColumns &>(), int32_t{}, int32_t{},
                    std::declval<void *>(), int32_t{}))>>
    : std::is_same<decltype(std::declval<const Tile &>().PlainRow(int32_t{})),
                   typename F::Format::Intermediate *> {};

}  // namespace contract

// Whether `Filters` meets the contract above; each missing part fails with its own message.
template <class Filters>
constexpr bool MeetsFilterContract() {
  static_assert(contract::NamesTypes<Filters>::value,
                "Filters names Format, Layout, Sample and TileFilter");
  if constexpr (contract::NamesTypes<Filters>::value) {
    static_assert(std::is_same<typename Filters::Sample, typename Filters::Format::Sample>::value,
                  "Filters::Sample is the format's sample");
    static_assert(contract::HasSizes<Filters>::value,
                  "Filters has kBlockWidth, kBlockHeight, kSpp, kLinesAtOnce, TileFilter::kRows");
    if constexpr (contract::HasSizes<Filters>::value) {
      static_assert(Filters::kSpp == Filters::Format::kSamplesPerPixel, "kSpp of the format");
      static_assert(Filters::kBlockWidth >= 1 && Filters::kBlockHeight >= 1, "tiles not empty");
      static_assert(Filters::kLinesAtOnce >= 1, "the vertical filter takes lines");
      static_assert(Filters::TileFilter::kRows == Filters::kBlockHeight,
                    "the tile filter takes a tile's rows at once");
    }
    static_assert(contract::HasVerticalFilter<Filters>::value,
                  "Filters has LineScratchBytes and FilterLines");
    static_assert(contract::HasTileFilter<Filters>::value,
                  "TileFilter has BufferBytes, its constructor, PlainRow and Filter");
  }
  return true;
}

}  // namespace kernels
