// YUY2 resizes on both axes through every kernel library, against the exact result of the
// same 8-bit source: each must come within 0.2 dB of the exact result rounded to 8 bits, in
// luma and in chroma. Rounding or clamping between the two passes costs one to three dB.
#include <gtest/gtest.h>

#include <cmath>

#include "engine/TFilterPluginList.h"
#include "quality/Yuy2Quality.h"

namespace {

// Rings, a grid of bright blocks whose edges overshoot past 255, and chroma in stripes and
// waves, filling the whole 8-bit range.
quality::Yuy2Picture SyntheticPicture(int32_t width, int32_t height) {
  constexpr double kPi = 3.14159265358979323846;
  quality::Yuy2Picture p{width, height, {}, {}, {}};
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const double dx = x - width / 2.0, dy = y - height / 2.0;
      const bool block = (x / 9 + y / 13) % 3 == 0;
      const double rings = 128 + 90 * std::cos(kPi * (dx * dx + dy * dy) / (4.0 * width));
      p.y.push_back(block ? 255 : uint8_t(rings));
    }
    for (int32_t c = 0; c < width / 2; ++c) {
      const double waves = 128 + 120 * std::sin(2 * kPi * c / 7.3) * std::cos(2 * kPi * y / 11);
      p.u.push_back(uint8_t(waves));
      p.v.push_back((c / 5 + y / 7) % 2 ? 250 : 5);
    }
  }
  return p;
}

TEST(Yuy2Quality, BothAxesComeWithinAFifthOfADecibelOfTheEightBitCeiling) {
  TWndFuncPluginList functions;
  functions.LoadPlugins(QUORLIN_DIST_DLL);
  TFilterPluginList kernels;
  kernels.LoadPlugins(QUORLIN_DIST_DLL, -1);
  const int32_t spline = functions.IndexOfName("Spline36");
  ASSERT_GE(spline, 0);
  ASSERT_GE(kernels.Count(), 2);  // the portable kernel and at least SSE2
  const quality::Kernel1D exact{"Spline36", quality::Spline36, 3};
  const quality::Yuy2Picture picture = SyntheticPicture(160, 120);
  for (const auto &size : {std::pair<int32_t, int32_t>{106, 80}, {250, 186}})
    for (int32_t k = 0; k < kernels.Count(); ++k) {
      SCOPED_TRACE(testing::Message() << kernels.Item(k)->Name << ", 160x120 -> " << size.first
                                      << "x" << size.second);
      const quality::Yuy2Psnr psnr = quality::MeasureYuy2Resize(
          picture, size.first, size.second, *kernels.Item(k), *functions.Item(spline), exact);
      EXPECT_LE(psnr.lumaCeiling - psnr.luma, 0.2) << psnr.luma << " dB";
      EXPECT_LE(psnr.chromaCeiling - psnr.chroma, 0.2) << psnr.chroma << " dB";
    }
}

}  // namespace
