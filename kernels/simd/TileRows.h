// The rows of a tile as the SIMD tile filters take them: the plain rows the vertical filter
// writes before they are transposed, the rows a transposition reads and the output rows.
#pragma once

#include <emmintrin.h>

#include <cstddef>
#include <cstdint>

#include "portable/SampleFormats.h"
#include "portable/WorkAreas.h"

namespace simd {

constexpr int32_t kTileRows = 8;  // rows a tile filter takes at once

// The plain rows of a tile at the start of its buffer: source pixels at their own positions,
// with room for a 16-byte load at the last pixel pair.
template <class Format>
class PlainTileRows {
 public:
  static int32_t Bytes(int32_t srcWidth) { return kTileRows * Stride(srcWidth); }

  PlainTileRows(void *buffer, int32_t srcWidth)
      : rows_(static_cast<uint8_t *>(buffer)), stride_(Stride(srcWidth)) {}

  typename Format::Sample *Row(int32_t r) const {
    return reinterpret_cast<typename Format::Sample *>(rows_ + r * stride_);
  }

 private:
  static int32_t Stride(int32_t srcWidth) {
    return portable::RoundUpToSlice(portable::RowCapacityPixels(srcWidth) *
                                        Format::kSamplesPerPixel *
                                        static_cast<int32_t>(sizeof(typename Format::Sample)) +
                                    static_cast<int32_t>(sizeof(__m128i)));
  }

  uint8_t *rows_;
  int32_t stride_;
};

// The rows of a tile as a tile filter takes them: `In`, the rows the transposition reads,
// where rows past `rowCount` repeat row 0; `Out`, output row r from `out` on for r < rowCount,
// null past it.
template <typename Sample>
struct TileRowSet {
  TileRowSet(const Sample *const *rows, int32_t rowCount, void *out, int32_t lineSize) {
    for (int32_t r = 0; r < kTileRows; ++r) {
      In[r] = rows[r < rowCount ? r : 0];
      Out[r] = r < rowCount ? reinterpret_cast<Sample *>(static_cast<uint8_t *>(out) +
                                                         static_cast<ptrdiff_t>(lineSize) * r)
                            : nullptr;
    }
  }

  const Sample *In[kTileRows];
  Sample *Out[kTileRows];
};

}  // namespace simd
