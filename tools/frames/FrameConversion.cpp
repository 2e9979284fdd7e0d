#include "frames/FrameConversion.h"

#include "frames/ColorConversion.h"
#include "frames/FastestRows.h"
#include "frames/Yuy2Rows.h"

namespace quorlin_resizer {

namespace {

// The chroma of the host's YUY2 images sits as a C422 stream's does, on the pair's left pixel.
constexpr ChromaSiting kYuy2Siting{true, false};

ChromaFormat NativeFormat(bool yuy2) { return yuy2 ? ChromaFormat::C422 : ChromaFormat::C444; }

}  // namespace

void FrameIntoImage::Convert(const Y4mFrame &frame, uint8_t *image, ptrdiff_t strideBytes) {
  if (yuy2_) {
    if (frame.chroma != ChromaFormat::C420) {
      Y4mToYuy2Rows(frame, image, strideBytes, 0, frame.height);
      return;
    }
    RequireEvenWidth(frame.width);
    // Each row is packed as soon as its chroma is interpolated, while it is in the caches.
    resampler_.ResampleRows<uint8_t>(
        frame, siting_, ChromaFormat::C422, [&](int y, const uint8_t *u, const uint8_t *v) {
          PackYuy2Row(&frame.y[static_cast<size_t>(y) * frame.width], u, v, frame.width / 2,
                      image + strideBytes * y);
        });
    return;
  }
  if (frame.chroma == ChromaFormat::C444) {
    Y4mToYc48Rows(frame, image, strideBytes, 0, frame.height);
    return;
  }
  // Each row is converted as soon as its chroma is interpolated, while it is in the caches.
  resampler_.ResampleRows<int16_t>(
      frame, siting_, ChromaFormat::C444, [&](int y, const int16_t *u, const int16_t *v) {
        ToYc48RowFromFractions(&frame.y[static_cast<size_t>(y) * frame.width], u, v,
                               frame.width, reinterpret_cast<PIXEL_YC *>(image + strideBytes * y));
      });
}

void FrameFromImage::Convert(const uint8_t *image, ptrdiff_t strideBytes, int width, int height,
                             Y4mFrame &frame) {
  const ChromaFormat native = NativeFormat(yuy2_);
  Y4mFrame &target = format_ == native ? frame : native_;
  target.Resize(width, height, native);
  if (yuy2_)
    Yuy2ToY4mRows(image, strideBytes, target, 0, height);
  else
    Yc48ToY4mRows(image, strideBytes, target, 0, height);
  if (format_ != native) resampler_.Convert(native_, kYuy2Siting, format_, frame);
}

}  // namespace quorlin_resizer
