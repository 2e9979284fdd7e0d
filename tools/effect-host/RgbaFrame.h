// An object's image as the editor hands it to an effect: 8-bit RGBA, straight alpha, rows
// top-down without padding.
#pragma once

#include <cstdint>
#include <vector>

#include "auf2/FilterSdk.h"

namespace effecthost {

struct RgbaFrame {
  int32_t Width = 0, Height = 0;   // as the object declares them (0 or less for a bad object)
  std::vector<PIXEL_RGBA> Pixels;  // Width x Height when both are positive, else empty

  static RgbaFrame Filled(int32_t width, int32_t height, PIXEL_RGBA colour) {
    const bool positive = width > 0 && height > 0;
    return {width, height, std::vector<PIXEL_RGBA>(positive ? size_t(width) * height : 0, colour)};
  }
  PIXEL_RGBA &At(int32_t x, int32_t y) { return Pixels[size_t(y) * Width + x]; }
  const PIXEL_RGBA &At(int32_t x, int32_t y) const { return Pixels[size_t(y) * Width + x]; }
};

}  // namespace effecthost

// Beside PIXEL_RGBA (global, as the SDK declares it), where comparisons of frames find it.
inline bool operator==(const PIXEL_RGBA &a, const PIXEL_RGBA &b) {
  return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}
