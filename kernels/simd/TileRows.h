// The rows of a tile as the SIMD tile filters take them: the plain rows the vertical filter
// writes before they are transposed, the rows a transposition reads and the output rows.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/SampleFormats.h"
#include "common/WorkAreas.h"

namespace kernels::simd {

// The plain rows of a tile at the start of its buffer: source pixels at their own positions,
// with room for a 16-byte load at the last pixel pair.
template <class Format, int32_t kRows>
class PlainTileRows {
 public:
  static int32_t Bytes(int32_t srcWidth) { return kRows * Stride(srcWidth); }

  PlainTileRows(void *buffer, int32_t srcWidth)
      : rows_(static_cast<uint8_t *>(buffer)), stride_(Stride(srcWidth)) {}

  typename Format::Intermediate *Row(int32_t r) const {
    return reinterpret_cast<typename Format::Intermediate *>(rows_ + r * stride_);
  }

 private:
  static constexpr int32_t kLoadBytes = 16;

  static int32_t Stride(int32_t srcWidth) {
    return RoundUpToSlice(RowCapacityPixels(srcWidth) * Format::kSamplesPerPixel *
                              static_cast<int32_t>(sizeof(typename Format::Intermediate)) +
                          kLoadBytes);
  }

  uint8_t *rows_;
  int32_t stride_;
};

// The rows of a tile as a tile filter takes them: `In`, the rows the transposition reads,
// where rows past `rowCount` repeat row 0; `Out`, output row r from `out` on for r < rowCount,
// null past it. The rows read may be plain rows, of another sample type than the frame's.
template <typename InSample, int32_t kRows, typename OutSample = InSample>
struct TileRowSet {
  TileRowSet(const InSample *const *rows, int32_t rowCount, void *out, int32_t lineSize) {
    for (int32_t r = 0; r < kRows; ++r) {
      In[r] = rows[r < rowCount ? r : 0];
      Out[r] = r < rowCount ? reinterpret_cast<OutSample *>(static_cast<uint8_t *>(out) +
                                                            static_cast<ptrdiff_t>(lineSize) * r)
                            : nullptr;
    }
  }

  const InSample *In[kRows];
  OutSample *Out[kRows];
};

}  // namespace kernels::simd
