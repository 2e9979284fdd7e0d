// The built-in clip used when no input is given: a moving 8-bit 4:4:4 test pattern with the
// detail that shows a resampler's quality and cost. The upper left holds a zone plate whose
// rings reach the finest frequency at its edges and drift each frame; the upper right sharp
// black/white edges, one-pixel lines and a moving checkerboard above rows of text-like
// strokes; the lower third luma and colour gradients with a colour bar sliding across.
#pragma once

#include "video-io/Y4mFormat.h"

namespace quorlin_resizer {

class TestClip {
 public:
  TestClip(int width, int height, int frameCount);

  Y4mHeader Header() const;
  int FrameCount() const { return frameCount_; }
  // Renders frame `index` (0-based) into `frame`.
  void Render(int index, Y4mFrame &frame) const;

 private:
  uint8_t ZonePlate(int x, int y, int index) const;
  uint8_t EdgesAndLines(int x, int y, int index) const;
  uint8_t TextStrokes(int x, int y, int index) const;
  void Gradients(int x, int y, int index, uint8_t &luma, uint8_t &u, uint8_t &v) const;

  int width_, height_, frameCount_;
  int splitX_, splitY_, textY_;  // region borders
};

}  // namespace quorlin_resizer
