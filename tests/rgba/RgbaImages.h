// Images for the RGBA engine's tests: owned pixel buffers with padded rows, and the patterns the
// tests resize.
#pragma once

#include <cstdint>
#include <random>
#include <vector>

#include "rgba/RgbaResizer.h"

namespace rgba_test {

struct OwnedImage {
  OwnedImage(int32_t width, int32_t height, uint8_t fill = 0)
      : Stride(4 * width + 12),
        Bytes(static_cast<size_t>(Stride) * height, fill),
        Width(width),
        Height(height) {}
  rgba::Image View() { return {Bytes.data(), Width, Height, Stride}; }
  uint8_t *At(int32_t x, int32_t y) { return Bytes.data() + y * Stride + 4 * x; }
  const uint8_t *At(int32_t x, int32_t y) const { return Bytes.data() + y * Stride + 4 * x; }

  int32_t Stride;
  std::vector<uint8_t> Bytes;
  int32_t Width, Height;
};

// Random colours; alpha random too, with a good share of 0 and 255.
inline OwnedImage RandomImage(int32_t width, int32_t height, uint32_t seed) {
  OwnedImage image(width, height);
  std::mt19937 random(seed);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      uint8_t *p = image.At(x, y);
      for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(random());
      const uint32_t kind = random() % 4;
      p[3] = kind == 0 ? 0 : kind == 1 ? 255 : static_cast<uint8_t>(random());
    }
  }
  return image;
}

inline rgba::ResizeOptions Options(int method, bool linear, rgba::Isa isa, int32_t param = 0) {
  return rgba::ResizeOptions{method, param, linear, isa};
}

inline int MethodNamed(const char *name) {
  const std::vector<rgba::MethodInfo> &methods = rgba::Methods();
  for (size_t i = 0; i < methods.size(); ++i) {
    if (methods[i].Name == name) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace rgba_test
