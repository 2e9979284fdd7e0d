#include "resizer/OutputGeometry.h"

#include <cmath>
#include <cstdio>
#include <numeric>

namespace quorlin_resizer {

namespace {

constexpr int64_t kLargestTerm = 0x7FFFFFFF;
constexpr double kShapeTolerance = 0.01;

// The last convergent of the continued fraction of n/d whose terms stay within kLargestTerm.
Ratio NearestSmallFraction(int64_t n, int64_t d) {
  int64_t previousNumerator = 0, numerator = 1, previousDenominator = 1, denominator = 0;
  while (d != 0) {
    const int64_t whole = n / d;
    const int64_t nextNumerator = whole * numerator + previousNumerator;
    const int64_t nextDenominator = whole * denominator + previousDenominator;
    if (nextNumerator > kLargestTerm || nextDenominator > kLargestTerm) break;
    previousNumerator = numerator;
    numerator = nextNumerator;
    previousDenominator = denominator;
    denominator = nextDenominator;
    const int64_t rest = n % d;
    n = d;
    d = rest;
  }
  // A ratio beyond every 32-bit fraction: the nearest end of their range.
  if (denominator == 0) return {kLargestTerm, 1};
  if (numerator == 0) return {1, kLargestTerm};
  return {numerator, denominator};
}

// value x multiplier / divisor rounded to the nearest, halves away from zero; all positive.
int64_t RescaleRounded(int64_t value, int64_t multiplier, int64_t divisor) {
  return (value * multiplier + divisor / 2) / divisor;
}

double DisplayAspect(const Y4mHeader &input) {
  const Ratio sample = ParseRatio(input.aspect);
  const double shape = static_cast<double>(input.width) / input.height;
  return sample.Known() ? shape * sample.numerator / sample.denominator : shape;
}

}  // namespace

Ratio ParseRatio(const std::string &text) {
  const size_t colon = text.find(':');
  if (colon == std::string::npos) return {};
  const std::optional<long long> numerator = WholeNumber(text.substr(0, colon));
  const std::optional<long long> denominator = WholeNumber(text.substr(colon + 1));
  if (!numerator || !denominator || *numerator <= 0 || *denominator <= 0 ||
      *numerator > kLargestTerm || *denominator > kLargestTerm)
    return {};
  return {*numerator, *denominator};
}

Ratio Reduced(int64_t numerator, int64_t denominator) {
  if (numerator <= 0 || denominator <= 0) return {};
  const int64_t divisor = std::gcd(numerator, denominator);
  numerator /= divisor;
  denominator /= divisor;
  if (numerator <= kLargestTerm && denominator <= kLargestTerm) return {numerator, denominator};
  return NearestSmallFraction(numerator, denominator);
}

std::string OutputSampleAspect(const Y4mHeader &input, int width, int height) {
  const Ratio sample = ParseRatio(input.aspect);
  if (!sample.Known()) return "0:0";
  const Ratio output = Reduced(sample.numerator * input.width * height,
                               sample.denominator * input.height * width);
  return std::to_string(output.numerator) + ":" + std::to_string(output.denominator);
}

Y4mHeader OutputHeaderFor(const Y4mHeader &input, int width, int height, ChromaFormat chroma) {
  Y4mHeader header = input;
  header.width = width;
  header.height = height;
  header.chroma = chroma;
  header.siting = ChromaSiting{chroma == ChromaFormat::C422, false};
  header.interlace = "p";
  header.aspect = OutputSampleAspect(input, width, height);
  return header;
}

FrameSize TargetSize(const SizeRequest &request, const Y4mHeader &input) {
  FrameSize size{request.width, request.height};
  if (request.width < 0) {
    const int factor = -request.width;
    size.width = static_cast<int32_t>(
        RescaleRounded(request.height, input.width, int64_t{input.height} * factor) * factor);
  } else if (request.height < 0) {
    const int factor = -request.height;
    size.height = static_cast<int32_t>(
        RescaleRounded(request.width, input.height, int64_t{input.width} * factor) * factor);
  }
  if (size.width < 1 || size.height < 1 || size.width > kMaxY4mSide || size.height > kMaxY4mSide)
    throw UsageError("--size " + std::to_string(request.width) + "x" +
                     std::to_string(request.height) + " of a " + std::to_string(input.width) +
                     "x" + std::to_string(input.height) + " input gives " +
                     std::to_string(size.width) + "x" + std::to_string(size.height) +
                     ", outside 1.." + std::to_string(kMaxY4mSide));
  return size;
}

std::optional<std::string> ShapeWarning(const FrameSize &size, const Y4mHeader &input) {
  const double inputAspect = DisplayAspect(input);
  const double target = static_cast<double>(size.width) / size.height;
  if (std::fabs(target / inputAspect - 1) <= kShapeTolerance) return std::nullopt;
  char line[200];
  std::snprintf(line, sizeof line,
                "the size %dx%d (%.3f:1) does not have the input's display aspect (%.3f:1); its "
                "samples will not be square; --size %dx-2 keeps the input's shape",
                size.width, size.height, target, inputAspect, size.width);
  return std::string(line);
}

}  // namespace quorlin_resizer
