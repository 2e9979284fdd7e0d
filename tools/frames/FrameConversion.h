// Whole frames between Y4M and the host's images, chroma included: subsampled chroma going into
// a YC48 image is interpolated to every pixel at YC48's precision, going into a YUY2 image to
// every row; a result coming out is resampled to the output's chroma format. 4:4:4 frames into
// YC48, and frames already in the image's own format, take the row conversions alone, bit for
// bit. Each converter serves one thread.
#pragma once

#include <cstddef>
#include <cstdint>

#include "frames/ChromaResampler.h"
#include "video-io/Y4mFormat.h"

namespace quorlin_resizer {

class FrameIntoImage {
 public:
  // `siting`: where the input's subsampled chroma sits.
  FrameIntoImage(bool yuy2, ChromaSiting siting) : yuy2_(yuy2), siting_(siting) {}
  // Writes `frame` into `image`, rows `strideBytes` apart.
  void Convert(const Y4mFrame &frame, uint8_t *image, ptrdiff_t strideBytes);

 private:
  bool yuy2_;
  ChromaSiting siting_;
  ChromaResampler resampler_;
};

class FrameFromImage {
 public:
  FrameFromImage(bool yuy2, ChromaFormat format) : yuy2_(yuy2), format_(format) {}
  // The `width` x `height` frame of `image` (rows `strideBytes` apart) in the output format.
  void Convert(const uint8_t *image, ptrdiff_t strideBytes, int width, int height,
               Y4mFrame &frame);

 private:
  bool yuy2_;
  ChromaFormat format_;
  ChromaResampler resampler_;
  Y4mFrame native_;  // the image's own format: 4:4:4 from YC48, 4:2:2 from YUY2
};

}  // namespace quorlin_resizer
