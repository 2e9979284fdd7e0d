#include "rgba/ResizeJob.h"

#include <algorithm>

#include "common/RgbaFormat.h"
#include "rgba/SrgbTables.h"
#include "rgba/TapsCache.h"

namespace rgba {
namespace {

int32_t RoundUpTo16(int64_t floats) { return static_cast<int32_t>((floats + 15) / 16 * 16); }

}  // namespace

ResizeJob::ResizeJob(const Image &src, const Image &dst, const ResizeOptions &options,
                     const kernels::RgbaKernel &kernel, int bands)
    : src_(src),
      dst_(dst),
      kernel_(kernel),
      decode_(options.LinearLight ? Srgb().Decode : nullptr),
      encodeThresholds_(options.LinearLight ? Srgb().EncodeThresholds : nullptr) {
  TapsCache &cache = SharedTapsCache();
  horizontal_ = cache.Get({options.MethodIndex, options.Param, src.Width, dst.Width,
                           kernel.TapMultiple, kernels::RgbaFormat::kSamplesPerPixel});
  vertical_ = cache.Get({options.MethodIndex, options.Param, src.Height, dst.Height, 1, 1});
  horizontalFirst_ = HorizontalFirst();
  sourceRowFloats_ = RoundUpTo16(4 * (int64_t{src.Width} + horizontal_->TapCount() + 2));
  ringFloats_ = horizontalFirst_ ? RoundUpTo16(4 * int64_t{dst.Width}) : sourceRowFloats_;
  zeroRow_.assign(ringFloats_, 0.0f);
  bands_.resize(bands);
  for (BandBuffers &buffers : bands_) {
    buffers.Ring.assign(static_cast<size_t>(vertical_->TapCount()) * ringFloats_, 0.0f);
    if (horizontalFirst_) buffers.Premultiplied.assign(sourceRowFloats_, 0.0f);
    buffers.Combined.resize(ringFloats_);
    if (!horizontalFirst_) buffers.Filtered.resize(4 * static_cast<size_t>(dst.Width));
    buffers.Rows.resize(vertical_->TapCount());
  }
}

// Taps of each order: horizontal first filters every source row, vertical first every output
// row, horizontally; the vertical filter then runs output-wide or source-wide. A horizontal tap
// costs about twice a vertical one (it loads a weight as well as a pixel, and its partial sums
// are added at the end), as measured with AVX2 and SSE2.
bool ResizeJob::HorizontalFirst() const {
  constexpr int64_t kHorizontalTapCost = 2;
  const int64_t h = kHorizontalTapCost * horizontal_->TapCount(), v = vertical_->TapCount();
  const int64_t horizontalFirst =
      (int64_t{src_.Height} * h + int64_t{dst_.Height} * v) * dst_.Width;
  const int64_t verticalFirst = int64_t{dst_.Height} * (v * src_.Width + h * int64_t{dst_.Width});
  return horizontalFirst <= verticalFirst;
}

float *ResizeJob::RingRow(BandBuffers &buffers, int32_t sourceRow) const {
  return buffers.Ring.data() + static_cast<size_t>(sourceRow % vertical_->TapCount()) * ringFloats_;
}

void ResizeJob::FillRingRow(BandBuffers &buffers, int32_t sourceRow) const {
  const uint8_t *pixels = src_.Pixels + static_cast<ptrdiff_t>(sourceRow) * src_.Stride;
  float *row = RingRow(buffers, sourceRow);
  if (!horizontalFirst_) return kernel_.PremultiplyRow(pixels, src_.Width, decode_, row);
  kernel_.PremultiplyRow(pixels, src_.Width, decode_, buffers.Premultiplied.data());
  kernel_.FilterRow(buffers.Premultiplied.data(), horizontal_->RowTaps(), row);
}

void ResizeJob::WriteOutputRow(BandBuffers &buffers, int32_t y, int32_t top) const {
  const int32_t taps = vertical_->TapCount();
  for (int32_t k = 0; k < taps; ++k) {
    buffers.Rows[k] = top + k < src_.Height ? RingRow(buffers, top + k) : zeroRow_.data();
  }
  kernel_.CombineRows(buffers.Rows.data(), vertical_->WeightsOf(y), taps, ringFloats_,
                      buffers.Combined.data());
  const float *sums = buffers.Combined.data();
  if (!horizontalFirst_) {
    kernel_.FilterRow(sums, horizontal_->RowTaps(), buffers.Filtered.data());
    sums = buffers.Filtered.data();
  }
  kernel_.FinishRow(sums, dst_.Width, encodeThresholds_,
                    dst_.Pixels + static_cast<ptrdiff_t>(y) * dst_.Stride);
}

void ResizeJob::RunBand(int index, int count) {
  BandBuffers &buffers = bands_[index];
  const int32_t first = static_cast<int32_t>(int64_t{dst_.Height} * index / count);
  const int32_t end = static_cast<int32_t>(int64_t{dst_.Height} * (index + 1) / count);
  int32_t nextSourceRow = first < end ? vertical_->First(first) : 0;
  for (int32_t y = first; y < end; ++y) {
    const int32_t top = vertical_->First(y);
    const int32_t bottom = std::min(top + vertical_->TapCount(), src_.Height);
    for (int32_t r = std::max(nextSourceRow, top); r < bottom; ++r) FillRingRow(buffers, r);
    nextSourceRow = std::max(nextSourceRow, bottom);
    WriteOutputRow(buffers, y, top);
  }
}

}  // namespace rgba
