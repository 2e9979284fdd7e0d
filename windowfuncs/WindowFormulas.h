// The shapes of the window functions, as plain scalar formulas. Every formula takes the distance
// d = |x| from the centre, already known to lie inside the function's radius, and the function's
// parameter after clamping to its range (ignored by the functions that have none).
#pragma once

#include <cstdint>

double Spline16Shape(double d, int32_t unused);
double Spline36Shape(double d, int32_t unused);
double Spline64Shape(double d, int32_t unused);
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

// The reach that goes with each parameterised shape.
int32_t LobeRadius(int32_t lobes);
int32_t GaussianRadius(int32_t sigmaPercent);
