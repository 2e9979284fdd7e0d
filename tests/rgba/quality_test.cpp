// The engine against an exact double-precision resampler of the premultiplied image, divided back
// and rounded to bytes: the engine's output may fall short of that rounded ideal by at most 0.1 dB,
// each measured against the unrounded result.
#include <gtest/gtest.h>

#include <cmath>

#include "quality/ExactResampler.h"
#include "rgba/RgbaImages.h"

namespace {

using rgba_test::OwnedImage;

// Smooth colour, some noise and alpha that ranges from clear to opaque.
OwnedImage TestPicture(int32_t width, int32_t height) {
  OwnedImage image(width, height);
  std::mt19937 random(7);
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      uint8_t *p = image.At(x, y);
      for (int c = 0; c < 3; ++c) {
        const double wave = 127.5 + 100 * std::sin(0.07 * (c + 1) * x + 0.05 * y + c);
        p[c] = static_cast<uint8_t>(std::clamp(wave + int(random() % 41) - 20, 0.0, 255.0));
      }
      p[3] = static_cast<uint8_t>(
          std::clamp(128 + 160 * std::sin(0.03 * x) * std::cos(0.04 * y), 0.0, 255.0));
    }
  }
  return image;
}

double Psnr(double squaredError, size_t samples) {
  return 10 * std::log10(255.0 * 255.0 * samples / squaredError);
}

TEST(RgbaQuality, Spline36WithinATenthOfADecibelOfExact) {
  struct Size {
    int32_t sw, sh, dw, dh;
  };
  rgba::ThreadPool pool(1);
  const quality::Kernel1D spline36{"Spline36", quality::Spline36, 3};
  for (const Size s : {Size{192, 108, 128, 72}, Size{128, 72, 192, 108}, Size{160, 90, 79, 45}}) {
    OwnedImage src = TestPicture(s.sw, s.sh);
    OwnedImage dst(s.dw, s.dh);
    ASSERT_TRUE(rgba::Resize(src.View(), dst.View(),
                             rgba_test::Options(rgba::DefaultMethodIndex(), false, rgba::Isa::Auto),
                             pool));
    std::vector<quality::Plane> planes(4, quality::Plane(size_t(s.sw) * s.sh));
    for (int32_t y = 0; y < s.sh; ++y) {
      for (int32_t x = 0; x < s.sw; ++x) {
        const uint8_t *p = src.At(x, y);
        for (int c = 0; c < 4; ++c) planes[c][size_t(y) * s.sw + x] = c == 3 ? p[3] : p[c] * p[3];
      }
    }
    for (quality::Plane &plane : planes) {
      plane = quality::ResamplePlane(plane, s.sw, s.sh, s.dw, s.dh, spline36);
    }
    double engineError = 0, roundedError = 0;
    size_t samples = 0;
    for (int32_t y = 0; y < s.dh; ++y) {
      for (int32_t x = 0; x < s.dw; ++x) {
        const size_t i = size_t(y) * s.dw + x;
        const double alpha = std::clamp(planes[3][i], 0.0, 255.0);
        if (std::lround(alpha) == 0) continue;
        for (int c = 0; c < 4; ++c) {
          const double exact = c == 3 ? alpha : std::clamp(planes[c][i] / planes[3][i], 0.0, 255.0);
          const double engine = dst.At(x, y)[c];
          engineError += (engine - exact) * (engine - exact);
          roundedError += (std::round(exact) - exact) * (std::round(exact) - exact);
          ++samples;
        }
      }
    }
    const double gap = Psnr(roundedError, samples) - Psnr(engineError, samples);
    EXPECT_LE(gap, 0.1) << s.sw << "x" << s.sh << " -> " << s.dw << "x" << s.dh;
    RecordProperty("gap_dB", std::to_string(gap));
    std::printf("%dx%d -> %dx%d: %.3f dB short of exact rounding\n", s.sw, s.sh, s.dw, s.dh, gap);
  }
}

}  // namespace
