#include "WindowFormulas.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSqrt2 = 1.41421356237309504880;

double Sinc(double x) {
  if (x == 0.0) return 1.0;
  const double px = kPi * x;
  return std::sin(px) / px;
}

// One cubic piece a u^3 + b u^2 + c u + e, evaluated by Horner's rule.
double Cubic(double u, double a, double b, double c, double e) {
  return ((a * u + b) * u + c) * u + e;
}

// One member of Mitchell and Netravali's family of cubics: b blurs, c rings. Every member sums
// to 1 over integer-spaced taps and ends at d = 2 with a zero value and slope.
struct BCSpline {
  double b, c;
};

double BCSplineShape(double d, const BCSpline &s) {
  const double b = s.b, c = s.c;
  if (d < 1.0)
    return Cubic(d, 12.0 - 9.0 * b - 6.0 * c, -18.0 + 12.0 * b + 6.0 * c, 0.0, 6.0 - 2.0 * b) / 6.0;
  return Cubic(d, -b - 6.0 * c, 6.0 * b + 30.0 * c, -12.0 * b - 48.0 * c, 8.0 * b + 24.0 * c) / 6.0;
}

constexpr BCSpline kHermite{0.0, 0.0};
constexpr BCSpline kMitchell{1.0 / 3.0, 1.0 / 3.0};
constexpr BCSpline kRobidoux{12.0 / (19.0 + 9.0 * kSqrt2), 113.0 / (58.0 + 216.0 * kSqrt2)};
constexpr BCSpline kRobidouxSharp{6.0 / (13.0 + 7.0 * kSqrt2), 7.0 / (2.0 + 12.0 * kSqrt2)};

}  // namespace

// The spline kernels: cubic pieces on [0,1), [1,2), ... fitted so that interpolation by them
// equals natural cubic spline interpolation over 4, 6, 8, 10 or 12 samples. Each is the weight
// that the spline's centre interval gives a sample at distance d.
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

double Spline100Shape(double d, int32_t) {
  if (d < 1.0) return Cubic(d, 61.0 / 51.0, -9893.0 / 4505.0, -1.0 / 13515.0, 1.0);
  if (d < 2.0) return Cubic(d - 1.0, -10.0 / 17.0, 1254.0 / 901.0, -724.0 / 901.0, 0.0);
  if (d < 3.0) return Cubic(d - 2.0, 8.0 / 51.0, -1672.0 / 4505.0, 2896.0 / 13515.0, 0.0);
  if (d < 4.0) return Cubic(d - 3.0, -2.0 / 51.0, 418.0 / 4505.0, -724.0 / 13515.0, 0.0);
  return Cubic(d - 4.0, 1.0 / 153.0, -209.0 / 13515.0, 362.0 / 40545.0, 0.0);
}

double Spline144Shape(double d, int32_t) {
  if (d < 1.0) return Cubic(d, 683.0 / 571.0, -1240203.0 / 564719.0, -3.0 / 564719.0, 1.0);
  if (d < 2.0)
    return Cubic(d - 1.0, -336.0 / 571.0, 786240.0 / 564719.0, -453936.0 / 564719.0, 0.0);
  if (d < 3.0) return Cubic(d - 2.0, 90.0 / 571.0, -210600.0 / 564719.0, 121590.0 / 564719.0, 0.0);
  if (d < 4.0) return Cubic(d - 3.0, -24.0 / 571.0, 56160.0 / 564719.0, -32424.0 / 564719.0, 0.0);
  if (d < 5.0) return Cubic(d - 4.0, 6.0 / 571.0, -14040.0 / 564719.0, 8106.0 / 564719.0, 0.0);
  return Cubic(d - 5.0, -1.0 / 571.0, 2340.0 / 564719.0, -1351.0 / 564719.0, 0.0);
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

double SincShape(double d, int32_t) { return Sinc(d); }

double HannShape(double d, int32_t lobes) {
  return Sinc(d) * (0.5 + 0.5 * std::cos(kPi * d / lobes));
}

double HammingShape(double d, int32_t lobes) {
  return Sinc(d) * (0.54 + 0.46 * std::cos(kPi * d / lobes));
}

double WelchShape(double d, int32_t lobes) {
  const double r = d / lobes;
  return Sinc(d) * (1.0 - r * r);
}

double CosineShape(double d, int32_t lobes) { return Sinc(d) * std::cos(kPi * d / (2.0 * lobes)); }

double BohmanShape(double d, int32_t lobes) {
  const double r = d / lobes;
  return Sinc(d) * ((1.0 - r) * std::cos(kPi * r) + std::sin(kPi * r) / kPi);
}

// B = C = 0 leaves 2 d^3 - 3 d^2 + 1 inside 1 and nothing beyond, hence the radius of 1.
double HermiteShape(double d, int32_t) { return BCSplineShape(d, kHermite); }
double MitchellShape(double d, int32_t) { return BCSplineShape(d, kMitchell); }
double RobidouxShape(double d, int32_t) { return BCSplineShape(d, kRobidoux); }
double RobidouxSharpShape(double d, int32_t) { return BCSplineShape(d, kRobidouxSharp); }

int32_t LobeRadius(int32_t lobes) { return std::max(lobes, 1); }

// Three standard deviations, rounded up to whole pixels.
int32_t GaussianRadius(int32_t sigmaPercent) { return std::max((3 * sigmaPercent + 99) / 100, 1); }
