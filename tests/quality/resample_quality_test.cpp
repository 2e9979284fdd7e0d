// Resizes synthetic pictures through the engine with the shipped window functions and the
// portable kernel, and compares the interior with the double-precision resampler of
// ExactResampler.h. Fixed-point weights and 16-bit intermediates cost at most a
// couple of units of 4096; anything more means a table, a position or a kernel is wrong.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "harness/EngineHost.h"
#include "engine/TFilter.h"
#include "engine/TFilterPluginList.h"
#include "engine/TNormalWeightSetter.h"
#include "plugins/WindowFuncPlugin.h"
#include "quality/ExactResampler.h"

namespace {

using quality::Kernel1D;
using quality::Lanczos3;
using quality::Plane;
using quality::Spline36;

constexpr double kPi = 3.14159265358979323846;

// Synthetic pictures with nominal luma values 0..4096.
Plane Gradient(int32_t w, int32_t h) {
  Plane p(size_t(w) * h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) p[size_t(y) * w + x] = 4096.0 * (x + 2.0 * y) / (w + 2.0 * h);
  return p;
}

Plane ZonePlate(int32_t w, int32_t h) {
  Plane p(size_t(w) * h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x) {
      const double dx = x - w / 2.0, dy = y - h / 2.0;
      p[size_t(y) * w + x] = 2048 + 1500 * std::cos(kPi * (dx * dx + dy * dy) / (4.0 * w));
    }
  return p;
}

Plane SharpEdges(int32_t w, int32_t h) {
  Plane p(size_t(w) * h);
  for (int32_t y = 0; y < h; ++y)
    for (int32_t x = 0; x < w; ++x)
      p[size_t(y) * w + x] = ((x / 7 + y / 11) % 2) ? 3800 : 300;
  return p;
}

class ResampleQuality : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    functions_ = new TWndFuncPluginList();
    functions_->LoadPlugins(QUORLIN_DIST_DLL);
    kernels_ = new TFilterPluginList();
    kernels_->LoadPlugins(QUORLIN_DIST_DLL, 0);
  }
  static void TearDownTestSuite() {
    delete kernels_;
    delete functions_;
  }

  static const FilterPluginInfo *Portable() {
    int32_t index = kernels_->IndexOfName("C++");
    return index < 0 ? nullptr : kernels_->Item(index);
  }

  static TWeightSetter *Setter(const char *name, int32_t param) {
    int32_t index = functions_->IndexOfName(name);
    if (index < 0) return nullptr;
    auto *setter = new TNormalWeightSetter();
    setter->SetWindowFunc(functions_->Item(index), param);
    return setter;
  }

  // Resizes `plane` (as Y, with Cb and Cr carrying shifted copies) through the engine.
  static Plane Resize(const Plane &plane, int32_t sw, int32_t sh, int32_t dw, int32_t dh,
                      TWeightSetter *setter, int threads) {
    const int32_t maxW = std::max(sw, dw), maxH = std::max(sh, dh);
    std::vector<int16_t> edit(size_t(maxW) * maxH * 3), temp(edit.size());
    for (int32_t y = 0; y < sh; ++y)
      for (int32_t x = 0; x < sw; ++x) {
        int16_t *pixel = &edit[(size_t(y) * maxW + x) * 3];
        pixel[0] = static_cast<int16_t>(std::lround(plane[size_t(y) * sw + x]));
        pixel[1] = static_cast<int16_t>(pixel[0] - 2048);
        pixel[2] = static_cast<int16_t>(2048 - pixel[0]);
      }
    TargetSize target{dw, dh};
    TFilter engine(0, &target);
    engine.SetWeightSetter(setter);
    engine.SetKernel(Portable());
    FILTER_PROC_INFO fpip =
        quorlin_host::EngineHost::Frame(edit.data(), temp.data(), sw, sh, maxW, maxH);
    quorlin_host::EngineHost(threads > 0 ? quorlin_host::ThreadService::Threads
                                         : quorlin_host::ThreadService::None,
                             threads)
        .Process(engine, fpip);
    EXPECT_EQ(fpip.w, dw);
    EXPECT_EQ(fpip.h, dh);
    const int16_t *out = static_cast<const int16_t *>(fpip.ycp_edit);
    Plane result(size_t(dw) * dh);
    for (int32_t y = 0; y < dh; ++y)
      for (int32_t x = 0; x < dw; ++x) {
        const int16_t *pixel = &out[(size_t(y) * maxW + x) * 3];
        result[size_t(y) * dw + x] = pixel[0];
        EXPECT_NEAR(pixel[1], pixel[0] - 2048, 2) << "Cb at " << x << "," << y;
      }
    return result;
  }

  static TWndFuncPluginList *functions_;
  static TFilterPluginList *kernels_;
};
TWndFuncPluginList *ResampleQuality::functions_ = nullptr;
TFilterPluginList *ResampleQuality::kernels_ = nullptr;

struct Geometry {
  int32_t sw, sh, dw, dh;
};

// Largest difference from the reference inside the frame, leaving out a margin of the
// kernel's reach where edge handling may differ.
double LargestInteriorDifference(const Plane &ours, const Plane &reference, const Geometry &g,
                                 double radius) {
  const int32_t marginX = int32_t(std::ceil(radius * std::max(1.0, double(g.dw) / g.sw))) + 1;
  const int32_t marginY = int32_t(std::ceil(radius * std::max(1.0, double(g.dh) / g.sh))) + 1;
  double largest = 0;
  for (int32_t y = marginY; y < g.dh - marginY; ++y)
    for (int32_t x = marginX; x < g.dw - marginX; ++x) {
      const size_t i = size_t(y) * g.dw + x;
      // The kernel's output is clamped to 16 bits; the pictures never come near that.
      largest = std::max(largest, std::fabs(ours[i] - reference[i]));
    }
  return largest;
}

TEST_F(ResampleQuality, MatchesAnIndependentDoublePrecisionResampler) {
  ASSERT_NE(Portable(), nullptr);
  const Kernel1D kernels[] = {{"Spline36", Spline36, 3}, {"Lanczos", Lanczos3, 3}};
  const Geometry geometries[] = {{192, 108, 128, 72}, {128, 72, 192, 108}, {160, 90, 61, 37},
                                 {101, 57, 160, 96},  {150, 100, 150, 67}, {90, 60, 203, 60}};
  const std::pair<const char *, Plane (*)(int32_t, int32_t)> pictures[] = {
      {"gradient", Gradient}, {"zone plate", ZonePlate}, {"sharp edges", SharpEdges}};
  double overall = 0;
  for (const Kernel1D &k : kernels)
    for (const Geometry &g : geometries)
      for (const auto &picture : pictures) {
        SCOPED_TRACE(::testing::Message() << k.name << " " << picture.first << " " << g.sw
                                          << "x" << g.sh << " -> " << g.dw << "x" << g.dh);
        TWeightSetter *setter = Setter(k.name, 3);
        ASSERT_NE(setter, nullptr);
        const Plane src = picture.second(g.sw, g.sh);
        const Plane ours = Resize(src, g.sw, g.sh, g.dw, g.dh, setter, 2);
        const Plane reference = quality::ResamplePlane(src, g.sw, g.sh, g.dw, g.dh, k);
        const double difference = LargestInteriorDifference(ours, reference, g, k.radius);
        EXPECT_LE(difference, 2.0);
        overall = std::max(overall, difference);
      }
  std::printf("largest interior difference from the double-precision reference: %.3f of 4096\n",
              overall);
}

TEST_F(ResampleQuality, HostThreadsAndTheCallersThreadGiveTheSameFrame) {
  const Plane src = ZonePlate(203, 117);
  for (const Geometry &g : {Geometry{203, 117, 120, 70}, Geometry{203, 117, 300, 117},
                            Geometry{203, 117, 203, 190}}) {
    const Plane single = Resize(src, g.sw, g.sh, g.dw, g.dh, Setter("Spline36", 0), 0);
    for (int threads : {1, 2, 3, 5})
      EXPECT_EQ(Resize(src, g.sw, g.sh, g.dw, g.dh, Setter("Spline36", 0), threads), single)
          << threads << " threads, " << g.dw << "x" << g.dh;
  }
}

}  // namespace
