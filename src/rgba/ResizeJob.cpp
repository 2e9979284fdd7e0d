#include "rgba/ResizeJob.h"

#include <algorithm>
#include <utility>

#include "common/RgbaFormat.h"
#include "rgba/BufferStash.h"
#include "rgba/SrgbTables.h"
#include "rgba/TapsCache.h"

namespace rgba {
namespace {

int32_t RoundUpTo16(int64_t floats) { return static_cast<int32_t>((floats + 15) / 16 * 16); }

// The distance between rows of `floats` that are read side by side: an odd number of 64-byte
// lines, so that up to 64 such rows fall in different sets of a 4 KB-indexed cache. Rows a
// multiple of 4 KB apart would share one set and evict each other.
int32_t RowStride(int32_t floats) {
  const int32_t lines = (floats + 15) / 16;
  return 16 * (lines | 1);
}

}  // namespace

ResizeJob::ResizeJob(const Image &src, const Image &dst, const ResizeOptions &options,
                     const kernels::RgbaKernel &kernel, int bands)
    : src_(src),
      dst_(dst),
      kernel_(kernel),
      decode_(options.LinearLight ? Srgb().Decode : nullptr),
      encodeThresholds_(options.LinearLight ? Srgb().EncodeThresholds : nullptr) {
  TapsCache &cache = SharedTapsCache();
  horizontal_ = cache.Get({options.MethodIndex, options.Param, src.Width, dst.Width});
  vertical_ = cache.Get({options.MethodIndex, options.Param, src.Height, dst.Height});
  horizontalFirst_ = HorizontalFirst();
  ringFloats_ = RoundUpTo16(4 * int64_t{horizontalFirst_ ? dst.Width : src.Width});
  ringStride_ = RowStride(ringFloats_);
  SizeRing();
  zeroRow_.assign(ringFloats_, 0.0f);
  groupFloats_ = size_t{kernels::kRgbaGroupPixelFloats} *
                 static_cast<size_t>(src.Width + horizontal_->TapCount());
  // Each buffer starts on a 64-byte line of the arena (whose first float may not).
  const auto floats = [](size_t n) { return (n + 15) / 16 * 16; };
  const size_t ring = static_cast<size_t>(ringStride_) * ringRows_, group = floats(groupFloats_);
  const size_t combined =
      horizontalFirst_ ? static_cast<size_t>(ringStride_) * kernels::kRgbaGroupRows : 0;
  const size_t filtered =
      horizontalFirst_ ? 0 : floats(size_t{kernels::kRgbaGroupRows} * 4 * dst.Width);
  const size_t spare = horizontalFirst_ ? ringFloats_ : 0;
  bands_.resize(bands);
  for (BandBuffers &buffers : bands_) {
    buffers.Arena =
        SharedBufferStash<float>().Take(ring + group + combined + filtered + spare + 15);
    const size_t past = reinterpret_cast<uintptr_t>(buffers.Arena.data()) % 64 / sizeof(float);
    float *at = buffers.Arena.data() + (16 - past) % 16;
    const auto carve = [&](size_t n) { return std::exchange(at, at + n); };
    buffers.Ring = carve(ring);
    buffers.Group = carve(group);
    buffers.Combined = carve(combined);
    buffers.Filtered = carve(filtered);
    buffers.Spare = carve(spare);
    buffers.Rows.resize(pairRows_);
  }
}

ResizeJob::~ResizeJob() {
  for (BandBuffers &buffers : bands_) SharedBufferStash<float>().Give(std::move(buffers.Arena));
}

// Taps of each order: horizontal first filters every source row, vertical first every output
// row, horizontally; the vertical filter then runs output-wide or source-wide. A horizontal tap
// costs about 5/4 of a vertical one: the vertical filter makes two output rows at once from the
// rows they share, loading each once. With the same scale on both axes the two orders have the
// same taps, and this sends shrinking vertical first and enlarging horizontal first, the faster
// of the two in each case (AVX2, one thread: 1080p to 720p 12.9 against 13.5 ms, 720p to 1080p
// 14.2-16.0 against 14.9-17.5).
bool ResizeJob::HorizontalFirst() const {
  const int64_t h = 5 * int64_t{horizontal_->TapCount()}, v = 4 * int64_t{vertical_->TapCount()};
  const int64_t horizontalFirst =
      (int64_t{src_.Height} * h + int64_t{dst_.Height} * v) * dst_.Width;
  const int64_t verticalFirst = int64_t{dst_.Height} * (v * src_.Width + h * int64_t{dst_.Width});
  return horizontalFirst <= verticalFirst;
}

// The ring holds the rows of a group of output rows, from the first one's top to the last one's
// bottom; filling it a group of source rows at a time runs up to kRgbaGroupRows - 1 rows further.
void ResizeJob::SizeRing() {
  const int32_t taps = vertical_->TapCount();
  int32_t span = 0, step = 0;
  for (int32_t y = 0; y < dst_.Height; ++y) {
    const int32_t last = std::min(y + kernels::kRgbaGroupRows - 1, dst_.Height - 1);
    span = std::max(span, vertical_->First(last) - vertical_->First(y));
    if (y + 1 < dst_.Height) step = std::max(step, vertical_->First(y + 1) - vertical_->First(y));
  }
  ringRows_ = span + taps + (horizontalFirst_ ? kernels::kRgbaGroupRows - 1 : 0);
  pairRows_ = step + taps;
}

float *ResizeJob::RingRow(BandBuffers &buffers, int32_t sourceRow) const {
  return buffers.Ring + static_cast<size_t>(sourceRow % ringRows_) * ringStride_;
}

// Source rows from `sourceRow` into the ring: one premultiplied row, or (horizontal first) a group
// of rows filtered horizontally. Returns the next row to fill.
int32_t ResizeJob::FillRing(BandBuffers &buffers, int32_t sourceRow) const {
  const auto pixels = [&](int32_t row) {
    return src_.Pixels + static_cast<ptrdiff_t>(row) * src_.Stride;
  };
  if (!horizontalFirst_) {
    kernel_.PremultiplyRow(pixels(sourceRow), src_.Width, decode_, RingRow(buffers, sourceRow), 4);
    return sourceRow + 1;
  }
  float *out[kernels::kRgbaGroupRows];
  for (int32_t r = 0; r < kernels::kRgbaGroupRows; ++r) {
    const int32_t row = sourceRow + r;
    out[r] = row < src_.Height ? RingRow(buffers, row) : buffers.Spare;
    if (row < src_.Height) {
      kernel_.PremultiplyRow(pixels(row), src_.Width, decode_, buffers.Group + 4 * r,
                             kernels::kRgbaGroupPixelFloats);
    }
  }
  kernel_.FilterRows(buffers.Group, horizontal_->RowTaps(), out);
  return sourceRow + kernels::kRgbaGroupRows;
}

// The vertical sums of output rows y .. y + count - 1 (count 1 or 2) into `out` and, `next`
// floats on, the row after it, a pixel every `pixelFloats` floats.
void ResizeJob::CombineRows(BandBuffers &buffers, int32_t y, int32_t count, float *out,
                            size_t next, int32_t pixelFloats) const {
  const int32_t taps = vertical_->TapCount(), top = vertical_->First(y);
  const int32_t offset = count == 2 ? vertical_->First(y + 1) - top : 0;
  for (int32_t u = 0; u < offset + taps; ++u) {
    buffers.Rows[u] = top + u < src_.Height ? RingRow(buffers, top + u) : zeroRow_.data();
  }
  const kernels::RgbaRowSum sums[2] = {
      {vertical_->WeightsOf(y), 0, out},
      count == 2 ? kernels::RgbaRowSum{vertical_->WeightsOf(y + 1), offset, out + next}
                 : kernels::RgbaRowSum{nullptr, 0, nullptr}};
  kernel_.CombineRows(buffers.Rows.data(), taps, sums, ringFloats_, pixelFloats);
}

// Output rows y .. y + count - 1 (count at most kRgbaGroupRows), their source rows in the ring:
// combined into output-wide rows, or (vertical first) into the group, filtered horizontally.
void ResizeJob::WriteOutputRows(BandBuffers &buffers, int32_t y, int32_t count) const {
  // Two output rows of sums are a plain row apart, or the neighbouring rows of the group.
  float *const combined = horizontalFirst_ ? buffers.Combined : buffers.Group;
  const size_t next = horizontalFirst_ ? static_cast<size_t>(ringStride_) : 4;
  const int32_t pixelFloats = horizontalFirst_ ? 4 : kernels::kRgbaGroupPixelFloats;
  for (int32_t r = 0; r < count; r += 2) {
    CombineRows(buffers, y + r, std::min(2, count - r), combined + r * next, next, pixelFloats);
  }
  const float *sums = buffers.Combined;
  size_t rowFloats = ringStride_;
  if (!horizontalFirst_) {
    float *filtered[kernels::kRgbaGroupRows];
    rowFloats = 4 * static_cast<size_t>(dst_.Width);
    for (int32_t r = 0; r < kernels::kRgbaGroupRows; ++r) {
      filtered[r] = buffers.Filtered + r * rowFloats;
    }
    kernel_.FilterRows(buffers.Group, horizontal_->RowTaps(), filtered);
    sums = buffers.Filtered;
  }
  for (int32_t r = 0; r < count; ++r) {
    kernel_.FinishRow(sums + r * rowFloats, dst_.Width, encodeThresholds_,
                      dst_.Pixels + static_cast<ptrdiff_t>(y + r) * dst_.Stride);
  }
}

void ResizeJob::RunBand(int index, int count) {
  BandBuffers &buffers = bands_[index];
  // The pixels past the group's end read as zeros. The rest of the arena is written before it is
  // read, or read only into outputs that are dropped (a group's rows past the source's bottom).
  const size_t groupEnd = size_t{kernels::kRgbaGroupPixelFloats} * static_cast<size_t>(src_.Width);
  std::fill(buffers.Group + groupEnd, buffers.Group + groupFloats_, 0.0f);
  // Vertical first combines the ring's rows whole into the group, so their last vector's pixels
  // past the source's end must be zeros too.
  if (!horizontalFirst_) {
    for (int32_t r = 0; r < ringRows_; ++r) {
      float *row = buffers.Ring + static_cast<size_t>(r) * ringStride_;
      std::fill(row + 4 * static_cast<size_t>(src_.Width), row + ringFloats_, 0.0f);
    }
  }
  const int32_t first = static_cast<int32_t>(int64_t{dst_.Height} * index / count);
  const int32_t end = static_cast<int32_t>(int64_t{dst_.Height} * (index + 1) / count);
  int32_t nextSourceRow = 0;
  for (int32_t y = first; y < end; y += kernels::kRgbaGroupRows) {
    const int32_t rows = std::min(kernels::kRgbaGroupRows, end - y);
    const int32_t bottom =
        std::min(vertical_->First(y + rows - 1) + vertical_->TapCount(), src_.Height);
    nextSourceRow = std::max(nextSourceRow, vertical_->First(y));
    while (nextSourceRow < bottom) nextSourceRow = FillRing(buffers, nextSourceRow);
    WriteOutputRows(buffers, y, rows);
  }
}

}  // namespace rgba
