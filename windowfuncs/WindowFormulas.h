// The shapes of the window functions, as plain scalar formulas. Every formula takes the distance
// d = |x| from the centre, already known to lie inside the function's radius, and the function's
// parameter after clamping to its range (ignored by the functions that have none).
#pragma once

#include <cstdint>

double Spline16Shape(double d, int32_t unused);
double Spline36Shape(double d, int32_t unused);
double Spline64Shape(double d, int32_t unused);
double Spline100Shape(double d, int32_t unused);
double Spline144Shape(double d, int32_t unused);
// sinc(d) x sinc(d / lobes).
double LanczosShape(double d, int32_t lobes);
// sinc(d) x the Blackman window spanning -lobes .. lobes.
double BlackmanShape(double d, int32_t lobes);
// Cubic convolution with a = -sharpness / 100.
double BicubicShape(double d, int32_t sharpness);
double BilinearShape(double d, int32_t unused);
// exp(-d^2 / (2 sigma^2)) lowered by its value at the radius, so that it ends at 0 there;
// sigma = sigmaPercent / 100.
double GaussianShape(double d, int32_t sigmaPercent);
// sinc(d) alone, cut off at the radius.
double SincShape(double d, int32_t lobes);
// sinc(d) x a window spanning -lobes .. lobes: Hann 0.5 + 0.5 cos(pi r), Hamming
// 0.54 + 0.46 cos(pi r), Welch 1 - r^2, Cosine cos(pi r / 2) and Bohman
// (1 - r) cos(pi r) + sin(pi r) / pi, where r = d / lobes.
double HannShape(double d, int32_t lobes);
double HammingShape(double d, int32_t lobes);
double WelchShape(double d, int32_t lobes);
double CosineShape(double d, int32_t lobes);
double BohmanShape(double d, int32_t lobes);
// Mitchell-Netravali cubics: Hermite (B = C = 0, reach 1), Mitchell (B = C = 1/3), Robidoux
// (B = 12 / (19 + 9 sqrt 2), C = 113 / (58 + 216 sqrt 2)) and RobidouxSharp
// (B = 6 / (13 + 7 sqrt 2), C = 7 / (2 + 12 sqrt 2)), the last three with reach 2.
double HermiteShape(double d, int32_t unused);
double MitchellShape(double d, int32_t unused);
double RobidouxShape(double d, int32_t unused);
double RobidouxSharpShape(double d, int32_t unused);

// The reach that goes with each parameterised shape.
int32_t LobeRadius(int32_t lobes);
int32_t GaussianRadius(int32_t sigmaPercent);
