#include "quality/Yuy2Quality.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "harness/EngineHost.h"
#include "engine/TFilter.h"
#include "engine/TYUY2WeightSetter.h"

namespace quality {
namespace {

Plane ToPlane(const std::vector<uint8_t> &samples) { return Plane(samples.begin(), samples.end()); }

// The picture as the host hands a YUY2 frame over (Y0 U Y1 V), resized by the engine, back in
// planes.
Yuy2Picture ResizeThroughEngine(const Yuy2Picture &src, int32_t dw, int32_t dh,
                                const FilterPluginInfo &kernel, const WindowFuncInfo &function) {
  const int32_t maxW = std::max(src.width, dw), maxH = std::max(src.height, dh);
  const int32_t lineSize = 2 * maxW;
  std::vector<uint8_t> edit(size_t(lineSize) * maxH), temp(edit.size());
  for (int32_t y = 0; y < src.height; ++y)
    for (int32_t x = 0; x < src.width; ++x) {
      uint8_t *pixel = &edit[size_t(y) * lineSize + 2 * x];
      const size_t chroma = size_t(y) * (src.width / 2) + x / 2;
      pixel[0] = src.y[size_t(y) * src.width + x];
      pixel[1] = x % 2 == 0 ? src.u[chroma] : src.v[chroma];
    }
  TargetSize target{dw, dh};
  TFilter engine(-1, &target);
  auto *setter = new TYUY2WeightSetter();
  setter->SetWindowFuncs(&function, &function, function.ParamDefault, function.ParamDefault);
  engine.SetWeightSetter(setter);
  engine.SetKernel(&kernel);
  FILTER_PROC_INFO fpip = quorlin_harness::EngineHost::Frame(edit.data(), temp.data(),
                                                             src.width, src.height, maxW, maxH);
  // No thread service: the pass runs on this thread.
  quorlin_harness::EngineHost(quorlin_harness::ThreadService::None).Process(engine, fpip);

  const uint8_t *out = static_cast<const uint8_t *>(fpip.ycp_edit);
  Yuy2Picture result{fpip.w, fpip.h, {}, {}, {}};
  for (int32_t y = 0; y < fpip.h; ++y)
    for (int32_t x = 0; x < fpip.w; ++x) {
      const uint8_t *pixel = &out[size_t(y) * lineSize + 2 * x];
      result.y.push_back(pixel[0]);
      (x % 2 == 0 ? result.u : result.v).push_back(pixel[1]);
    }
  return result;
}

// A chroma plane resized: vertically as luma is, then each row by the 4:2:2 rule.
Plane ExactChroma(const std::vector<uint8_t> &plane, int32_t sw, int32_t sh, int32_t dw,
                  int32_t dh, const Kernel1D &k) {
  const Plane columns = ResamplePlane(ToPlane(plane), sw / 2, sh, sw / 2, dh, k);
  Plane result;
  for (int32_t y = 0; y < dh; ++y) {
    const std::vector<double> row(columns.begin() + size_t(y) * (sw / 2),
                                  columns.begin() + size_t(y + 1) * (sw / 2));
    const std::vector<double> out = dw == sw ? row : ResampleChroma422Row(row, sw, dw, k);
    result.insert(result.end(), out.begin(), out.end());
  }
  return result;
}

// Squared errors over the interior of a plane of `width` x `height`: a margin of `marginX`
// samples and `marginY` lines is left out, where edge handling may differ.
struct Interior {
  int32_t width, height, marginX, marginY;
};

double Psnr(double squaredErrors, double count) {
  if (squaredErrors == 0) return std::numeric_limits<double>::infinity();
  return 10 * std::log10(255.0 * 255.0 * count / squaredErrors);
}

// PSNR of `ours` and of the exact result rounded to 8 bits, both against the exact result,
// over the interiors of the planes given together.
std::pair<double, double> InteriorPsnr(const std::vector<const std::vector<uint8_t> *> &ours,
                                       const std::vector<const Plane *> &exact,
                                       const Interior &area) {
  double oursErrors = 0, roundedErrors = 0, count = 0;
  for (size_t p = 0; p < ours.size(); ++p)
    for (int32_t y = area.marginY; y < area.height - area.marginY; ++y)
      for (int32_t x = area.marginX; x < area.width - area.marginX; ++x) {
        const size_t i = size_t(y) * area.width + x;
        const double e = (*exact[p])[i];
        const double rounded = std::clamp(std::round(e), 0.0, 255.0);
        oursErrors += ((*ours[p])[i] - e) * ((*ours[p])[i] - e);
        roundedErrors += (rounded - e) * (rounded - e);
        count += 1;
      }
  return {Psnr(oursErrors, count), Psnr(roundedErrors, count)};
}

}  // namespace

Yuy2Psnr MeasureYuy2Resize(const Yuy2Picture &picture, int32_t dw, int32_t dh,
                           const FilterPluginInfo &kernel, const WindowFuncInfo &function,
                           const Kernel1D &exactShape) {
  const int32_t sw = picture.width, sh = picture.height;
  const Yuy2Picture ours = ResizeThroughEngine(picture, dw, dh, kernel, function);
  const Plane luma = ResamplePlane(ToPlane(picture.y), sw, sh, dw, dh, exactShape);
  const Plane u = ExactChroma(picture.u, sw, sh, dw, dh, exactShape);
  const Plane v = ExactChroma(picture.v, sw, sh, dw, dh, exactShape);
  // The kernel's reach on each side, in output samples, and one more.
  const int32_t marginX = int32_t(std::ceil(exactShape.radius * std::max(1.0, double(dw) / sw))) + 1;
  const int32_t marginY = int32_t(std::ceil(exactShape.radius * std::max(1.0, double(dh) / sh))) + 1;
  const auto lumaPsnr = InteriorPsnr({&ours.y}, {&luma}, {dw, dh, marginX, marginY});
  const auto chromaPsnr =
      InteriorPsnr({&ours.u, &ours.v}, {&u, &v}, {dw / 2, dh, marginX / 2 + 1, marginY});
  return {lumaPsnr.first, chromaPsnr.first, lumaPsnr.second, chromaPsnr.second};
}

}  // namespace quality
