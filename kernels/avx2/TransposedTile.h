// What the AVX2 tile filters share: a tile's plain rows, filtered vertically before they are
// transposed, and the arithmetic on transposed sample pairs. Transposed, one vector holds the
// same sample pair of kTileRows rows, a 32-bit lane per row, so a broadcast coefficient pair
// meets all the rows in one 16-bit multiply-add and an output column needs no sums across lanes.
#pragma once

#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "portable/SampleFormats.h"
#include "portable/WorkAreas.h"

namespace simd {

constexpr int32_t kTileRows = 8;  // one 32-bit lane per row

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

// The tile's rows as the transposition reads them: rows past `rowCount` repeat row 0.
template <typename Sample>
void TileRowsOf(const Sample *const *rows, int32_t rowCount, const Sample *(&tileRows)[kTileRows]) {
  for (int32_t r = 0; r < kTileRows; ++r) tileRows[r] = rows[r < rowCount ? r : 0];
}

// Output row r of a tile starting at `out`, for r < rowCount (null past it).
template <typename Sample>
void OutputRowsOf(void *out, int32_t lineSize, int32_t rowCount, Sample *(&outRows)[kTileRows]) {
  for (int32_t r = 0; r < kTileRows; ++r)
    outRows[r] = r < rowCount ? reinterpret_cast<Sample *>(static_cast<uint8_t *>(out) +
                                                           static_cast<ptrdiff_t>(lineSize) * r)
                              : nullptr;
}

// One coefficient pair in every lane.
inline __m256i BroadcastPair(const int16_t *pair) {
  int32_t both;
  std::memcpy(&both, pair, sizeof(both));
  return _mm256_set1_epi32(both);
}

// sums + (transposed pair j) x (coefficient pair j) for the `count` pairs of a block.
inline __m256i DotTransposed(__m256i sums, const __m256i *pairs, const int16_t *coeffs,
                             int32_t count, int pairCoeffs) {
  for (int32_t j = 0; j < count; ++j)
    sums = _mm256_add_epi32(sums, _mm256_madd_epi16(_mm256_load_si256(pairs + j),
                                                    BroadcastPair(coeffs + j * pairCoeffs)));
  return sums;
}

// (sum + 8192) >> 14 of every lane.
inline __m256i DescaleRows(__m256i sums) {
  return _mm256_srai_epi32(_mm256_add_epi32(sums, _mm256_set1_epi32(8192)), 14);
}

}  // namespace simd
