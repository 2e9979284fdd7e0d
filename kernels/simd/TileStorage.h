// What every SIMD tile filter keeps: the pass's parameters, the divider from a table offset to
// a source pixel pair, and its buffer, which holds the plain rows the vertical filter writes and
// after them the vectors of transposed sample pairs.
#pragma once

#include <cstdint>
#include <type_traits>

#include "contracts/ResizeParams.h"
#include "simd/ExactDivider.h"
#include "simd/TileRows.h"

namespace kernels::simd {

template <class Format, class Ops>
class TileStorage {
 public:
  using Sample = typename Format::Sample;
  using Vec = typename Ops::Vec;
  static constexpr int32_t kRows =
      std::is_same<Format, YUY2Format>::value ? Ops::kYUY2TileRows : Ops::kYC48TileRows;

  // Row r of the tile's plain rows, source pixels at their own positions.
  typename Format::Intermediate *PlainRow(int32_t r) const { return plain_.Row(r); }

 protected:
  // The buffer for rows of `srcWidth` pixels and `vectors` transposed vectors.
  static int32_t Bytes(int32_t srcWidth, int32_t vectors) {
    return PlainTileRows<Format, kRows>::Bytes(srcWidth) +
           vectors * static_cast<int32_t>(sizeof(Vec));
  }

  TileStorage(const ResizeParams &p, void *buffer)
      : p_(p),
        pairOf_(p.HStep),
        plain_(buffer, p.SrcWidth),
        transposed_(reinterpret_cast<Vec *>(static_cast<uint8_t *>(buffer) +
                                            PlainTileRows<Format, kRows>::Bytes(p.SrcWidth))) {}

  const ResizeParams &p_;
  const ExactDivider pairOf_;
  const PlainTileRows<Format, kRows> plain_;
  Vec *const transposed_;
};

}  // namespace kernels::simd
