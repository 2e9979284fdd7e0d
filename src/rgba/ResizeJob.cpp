#include "rgba/ResizeJob.h"

#include <algorithm>

#include "common/RgbaFormat.h"
#include "rgba/MethodList.h"
#include "rgba/SrgbTables.h"

namespace rgba {

ResizeJob::ResizeJob(const Image &src, const Image &dst, const ResizeOptions &options,
                     const kernels::RgbaKernel &kernel, int bands)
    : src_(src),
      dst_(dst),
      kernel_(kernel),
      decode_(options.LinearLight ? Srgb().Decode : nullptr),
      encodeThresholds_(options.LinearLight ? Srgb().EncodeThresholds : nullptr) {
  const std::unique_ptr<TWeightSetter> setter =
      CreateWeightSetter(options.MethodIndex, options.Param);
  horizontal_ = std::make_unique<AxisTaps>(*setter, src.Width, dst.Width, kernel.GroupPixels,
                                           kernels::RgbaFormat::kSamplesPerPixel);
  vertical_ = std::make_unique<AxisTaps>(*setter, src.Height, dst.Height, 1, 1);
  const kernels::RgbaRowTaps rowTaps = horizontal_->RowTaps();
  rowFloats_ = (rowTaps.Groups * kernel.GroupPixels * 4 + 15) / 16 * 16;
  zeroRow_.assign(rowFloats_, 0.0f);
  bands_.resize(bands);
  for (BandBuffers &buffers : bands_) {
    buffers.Ring.resize(static_cast<size_t>(vertical_->TapCount()) * rowFloats_);
    buffers.Premultiplied.assign(4 * (static_cast<size_t>(src.Width) + rowTaps.TapCount + 2), 0.0f);
    buffers.Sums.resize(rowFloats_);
    buffers.Rows.resize(vertical_->TapCount());
  }
}

float *ResizeJob::RingRow(BandBuffers &buffers, int32_t sourceRow) const {
  return buffers.Ring.data() + static_cast<size_t>(sourceRow % vertical_->TapCount()) * rowFloats_;
}

void ResizeJob::FilterSourceRow(BandBuffers &buffers, int32_t sourceRow) const {
  const uint8_t *pixels = src_.Pixels + static_cast<ptrdiff_t>(sourceRow) * src_.Stride;
  kernels::PremultiplyRow(pixels, src_.Width, decode_, buffers.Premultiplied.data());
  kernel_.FilterRow(buffers.Premultiplied.data(), horizontal_->RowTaps(),
                    RingRow(buffers, sourceRow));
}

void ResizeJob::RunBand(int index, int count) {
  BandBuffers &buffers = bands_[index];
  const int32_t first = static_cast<int32_t>(int64_t{dst_.Height} * index / count);
  const int32_t end = static_cast<int32_t>(int64_t{dst_.Height} * (index + 1) / count);
  const int32_t taps = vertical_->TapCount();
  int32_t nextSourceRow = first < end ? vertical_->First(first) : 0;
  for (int32_t y = first; y < end; ++y) {
    const int32_t top = vertical_->First(y);
    const int32_t bottom = std::min(top + taps, src_.Height);
    for (int32_t r = std::max(nextSourceRow, top); r < bottom; ++r) FilterSourceRow(buffers, r);
    nextSourceRow = std::max(nextSourceRow, bottom);
    for (int32_t k = 0; k < taps; ++k) {
      buffers.Rows[k] = top + k < src_.Height ? RingRow(buffers, top + k) : zeroRow_.data();
    }
    kernel_.CombineRows(buffers.Rows.data(), vertical_->WeightsOf(y), taps, rowFloats_,
                        buffers.Sums.data());
    kernels::FinishRow(buffers.Sums.data(), dst_.Width, encodeThresholds_,
                       dst_.Pixels + static_cast<ptrdiff_t>(y) * dst_.Stride);
  }
}

}  // namespace rgba
