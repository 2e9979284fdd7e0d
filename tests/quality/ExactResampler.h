// A double-precision resampler written from the published formulas, independent of the
// engine's fixed-point tables: the yardstick the quality tests and the photograph measurement
// hold the engine's output against.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace quality {

double Spline36(double x);
double Lanczos3(double x);

struct Kernel1D {
  const char *name;
  std::function<double(double)> shape;
  double radius;
};

using Plane = std::vector<double>;  // row-major, width x height

// One axis of a resize: sample centres at (i + 0.5) * S / D, the kernel stretched by S / D
// when shrinking, weights normalised, edge samples repeated outward.
std::vector<double> Resample1D(const std::vector<double> &in, int32_t dstLen, const Kernel1D &k);

// Both axes, each resampled only when its length changes.
Plane ResamplePlane(const Plane &src, int32_t sw, int32_t sh, int32_t dw, int32_t dh,
                    const Kernel1D &k);

// One row of 4:2:2 chroma (srcWidth / 2 samples, sample c sited on luma pixel 2c) resized to
// dstWidth / 2 samples. Between two chroma samples the row is their mean. An enlarged pair's
// chroma is the row resampled at the pair's even pixel; a shrunk pair's takes the taps of both
// of its pixels together, normalised as one set.
std::vector<double> ResampleChroma422Row(const std::vector<double> &chroma, int32_t srcWidth,
                                         int32_t dstWidth, const Kernel1D &k);

}  // namespace quality
