#include "WindowFormulas.h"

#include <algorithm>
#include <cmath>

namespace {

const double kPi = 3.14159265358979323846;

double Sinc(double x) {
  if (x == 0.0) return 1.0;
  const double px = kPi * x;
  return std::sin(px) / px;
}

// One cubic piece a u^3 + b u^2 + c u + e, evaluated by Horner's rule.
double Cubic(double u, double a, double b, double c, double e) {
  return ((a * u + b) * u + c) * u + e;
}

}  // namespace

// The spline kernels: cubic pieces on [0,1), [1,2), ... fitted so that interpolation by them
// equals natural cubic spline interpolation over 4, 6 or 8 samples.
double Spline16Shape(double d, int32_t) {
  if (d < 1.0) return Cubic(d, 1.0, -9.0 / 5.0, -1.0 / 5.0, 1.0);
  return Cubic(d - 1.0, -1.0 / 3.0, 4.0 / 5.0, -7.0 / 15.0, 0.0);
}

double Spline36Shape(double d, int32_t) {
  if (d < 1.0) return Cubic(d, 13.0 / 11.0, -453.0 / 209.0, -3.0 / 209.0, 1.0);
  if (d < 2.0) return Cubic(d - 1.0, -6.0 / 11.0, 270.0 / 209.0, -156.0 / 209.0, 0.0);
  return Cubic(d - 2.0, 1.0 / 11.0, -45.0 / 209.0, 26.0 / 209.0, 0.0);
}

double Spline64Shape(double d, int32_t) {
  if (d < 1.0) return Cubic(d, 49.0 / 41.0, -6387.0 / 2911.0, -3.0 / 2911.0, 1.0);
  if (d < 2.0) return Cubic(d - 1.0, -24.0 / 41.0, 4032.0 / 2911.0, -2328.0 / 2911.0, 0.0);
  if (d < 3.0) return Cubic(d - 2.0, 6.0 / 41.0, -1008.0 / 2911.0, 582.0 / 2911.0, 0.0);
  return Cubic(d - 3.0, -1.0 / 41.0, 168.0 / 2911.0, -97.0 / 2911.0, 0.0);
}

double LanczosShape(double d, int32_t lobes) { return Sinc(d) * Sinc(d / lobes); }

double BlackmanShape(double d, int32_t lobes) {
  const double phase = kPi * d / lobes;
  const double window = 0.42 + 0.5 * std::cos(phase) + 0.08 * std::cos(2.0 * phase);
  return Sinc(d) * window;
}

double BicubicShape(double d, int32_t sharpness) {
  const double a = -sharpness / 100.0;
  if (d < 1.0) return Cubic(d, a + 2.0, -(a + 3.0), 0.0, 1.0);
  return Cubic(d, a, -5.0 * a, 8.0 * a, -4.0 * a);
}

double BilinearShape(double d, int32_t) { return 1.0 - d; }

double GaussianShape(double d, int32_t sigmaPercent) {
  const double sigma = sigmaPercent / 100.0;
  const double radius = GaussianRadius(sigmaPercent);
  const double scale = -1.0 / (2.0 * sigma * sigma);
  return std::exp(d * d * scale) - std::exp(radius * radius * scale);
}

int32_t LobeRadius(int32_t lobes) { return std::max(lobes, 1); }

// Three standard deviations, rounded up to whole pixels.
int32_t GaussianRadius(int32_t sigmaPercent) { return std::max((3 * sigmaPercent + 99) / 100, 1); }
