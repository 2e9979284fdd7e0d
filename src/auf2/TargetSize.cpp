#include "auf2/TargetSize.h"

#include <algorithm>
#include <cmath>

namespace auf2 {
namespace {

// The side limit alone keeps a target within the pixel limit.
static_assert(int64_t{rgba::kMaxSide} * rgba::kMaxSide <= rgba::kMaxPixels);

struct ExactSize {
  double Width, Height;
};

ExactSize Requested(const Size &source, const EffectSettings &settings) {
  const double width = source.Width, height = source.Height;
  switch (settings.Mode) {
    case SizeMode::Scale:
      return {width * settings.ScalePercent / 100, height * settings.ScalePercent / 100};
    case SizeMode::WidthAndHeight:
      return {settings.Width, settings.Height};
    case SizeMode::FitWidth:
      return {settings.Width, height * settings.Width / width};
    case SizeMode::FitHeight:
      return {width * settings.Height / height, settings.Height};
  }
  return {width, height};
}

bool KeepsAspect(SizeMode mode) { return mode != SizeMode::WidthAndHeight; }

int32_t RoundedSide(double side) {
  if (!(side >= 1)) return 1;  // also NaN
  return static_cast<int32_t>(std::lround(std::min<double>(side, rgba::kMaxSide)));
}

}  // namespace

Size TargetSize(const Size &source, const EffectSettings &settings) {
  ExactSize target = Requested(source, settings);
  const double largest = std::max(target.Width, target.Height);
  if (KeepsAspect(settings.Mode) && largest > rgba::kMaxSide) {
    const double fit = rgba::kMaxSide / largest;
    target = {target.Width * fit, target.Height * fit};
  }
  return {RoundedSide(target.Width), RoundedSide(target.Height)};
}

}  // namespace auf2
