#include "quality/ExactResampler.h"

#include <algorithm>
#include <cmath>

namespace quality {
namespace {

constexpr double kPi = 3.14159265358979323846;

double Sinc(double x) { return x == 0 ? 1.0 : std::sin(kPi * x) / (kPi * x); }

struct WeightedSum {
  double sum = 0, weights = 0;
};

// The taps of output i of an axis of srcLen -> dstLen samples, edge samples repeated outward.
WeightedSum TapsOf(const std::vector<double> &in, int32_t dstLen, int32_t i, const Kernel1D &k) {
  const int32_t srcLen = static_cast<int32_t>(in.size());
  const double scale = dstLen < srcLen ? double(dstLen) / srcLen : 1.0;
  const double reach = k.radius / scale;
  const double centre = (i + 0.5) * srcLen / dstLen - 0.5;
  WeightedSum taps;
  for (int32_t t = int32_t(std::floor(centre - reach)) - 1; t <= centre + reach + 1; ++t) {
    const double w = k.shape((t - centre) * scale);
    taps.sum += w * in[std::clamp(t, 0, srcLen - 1)];
    taps.weights += w;
  }
  return taps;
}

}  // namespace

// The Spline36 kernel as published with the Panorama Tools family of resamplers.
double Spline36(double x) {
  x = std::fabs(x);
  if (x < 1) return ((13.0 / 11 * x - 453.0 / 209) * x - 3.0 / 209) * x + 1;
  if (x < 2) {
    x -= 1;
    return ((-6.0 / 11 * x + 270.0 / 209) * x - 156.0 / 209) * x;
  }
  if (x < 3) {
    x -= 2;
    return ((1.0 / 11 * x - 45.0 / 209) * x + 26.0 / 209) * x;
  }
  return 0;
}

double Lanczos3(double x) { return std::fabs(x) < 3 ? Sinc(x) * Sinc(x / 3) : 0; }

std::vector<double> Resample1D(const std::vector<double> &in, int32_t dstLen, const Kernel1D &k) {
  std::vector<double> out(dstLen);
  for (int32_t i = 0; i < dstLen; ++i) {
    const WeightedSum taps = TapsOf(in, dstLen, i, k);
    out[i] = taps.sum / taps.weights;
  }
  return out;
}

Plane ResamplePlane(const Plane &src, int32_t sw, int32_t sh, int32_t dw, int32_t dh,
                    const Kernel1D &k) {
  Plane rows(size_t(dw) * sh);
  for (int32_t y = 0; y < sh; ++y) {
    std::vector<double> line(src.begin() + size_t(y) * sw, src.begin() + size_t(y + 1) * sw);
    std::vector<double> out = dw == sw ? line : Resample1D(line, dw, k);
    std::copy(out.begin(), out.end(), rows.begin() + size_t(y) * dw);
  }
  Plane result(size_t(dw) * dh);
  for (int32_t x = 0; x < dw; ++x) {
    std::vector<double> column(sh);
    for (int32_t y = 0; y < sh; ++y) column[y] = rows[size_t(y) * dw + x];
    std::vector<double> out = dh == sh ? column : Resample1D(column, dh, k);
    for (int32_t y = 0; y < dh; ++y) result[size_t(y) * dw + x] = out[y];
  }
  return result;
}

std::vector<double> ResampleChroma422Row(const std::vector<double> &chroma, int32_t srcWidth,
                                         int32_t dstWidth, const Kernel1D &k) {
  const int32_t last = static_cast<int32_t>(chroma.size()) - 1;
  std::vector<double> atPixels(srcWidth);
  for (int32_t x = 0; x < srcWidth; ++x)
    atPixels[x] = (chroma[std::min(x / 2, last)] + chroma[std::min((x + 1) / 2, last)]) / 2;
  std::vector<double> out(dstWidth / 2);
  for (int32_t q = 0; q < dstWidth / 2; ++q) {
    WeightedSum taps = TapsOf(atPixels, dstWidth, 2 * q, k);
    if (dstWidth < srcWidth) {
      const WeightedSum odd = TapsOf(atPixels, dstWidth, 2 * q + 1, k);
      taps.sum += odd.sum;
      taps.weights += odd.weights;
    }
    out[q] = taps.sum / taps.weights;
  }
  return out;
}

}  // namespace quality
