#include "frames/ChromaFilter.h"

#include <algorithm>
#include <cmath>

#include "WindowFormulas.h"

namespace quorlin_resizer {

namespace {

constexpr int kKernelRadius = 3;
constexpr int kWeightOne = 1 << ChromaFilter::kWeightBits;

// The plug-in's own Spline36, 1 at 0, 0 at every other whole number and from kKernelRadius on.
double Spline36(double x) {
  const double distance = std::fabs(x);
  return distance < kKernelRadius ? Spline36Shape(distance, 0) : 0.0;
}

// Rounds `weights` (summing to 1) to fixed point summing to exactly kWeightOne; the rounding
// residue goes to the largest weight, where it changes the response least.
void Quantize(const std::vector<double> &weights, int16_t *out) {
  int sum = 0;
  size_t largest = 0;
  for (size_t t = 0; t < weights.size(); ++t) {
    out[t] = static_cast<int16_t>(std::lround(weights[t] * kWeightOne));
    sum += out[t];
    if (weights[t] > weights[largest]) largest = t;
  }
  out[largest] = static_cast<int16_t>(out[largest] + kWeightOne - sum);
}

}  // namespace

template <class Position>
ChromaFilter::ChromaFilter(int inLength, int outLength, double scale, const Position &position)
    : inLength_(inLength),
      taps_(std::min(2 * kKernelRadius * static_cast<int>(scale), inLength)),
      first_(outLength),
      weights_(static_cast<size_t>(outLength) * taps_) {
  const int support = 2 * kKernelRadius * static_cast<int>(scale);
  std::vector<double> weights(taps_);
  for (int out = 0; out < outLength; ++out) {
    const double centre = position(out);
    const int start = static_cast<int>(std::floor(centre)) - support / 2 + 1;
    first_[out] = std::clamp(start, 0, inLength - taps_);
    std::fill(weights.begin(), weights.end(), 0.0);
    double sum = 0;
    for (int i = start; i < start + support; ++i) {
      const double weight = Spline36((i - centre) / scale);
      weights[std::clamp(i, 0, inLength - 1) - first_[out]] += weight;
      sum += weight;
    }
    for (double &weight : weights) weight /= sum;
    Quantize(weights, &weights_[static_cast<size_t>(out) * taps_]);
  }
  FindPairedRun();
}

bool ChromaFilter::RepeatsTwoBefore(int x) const {
  return x >= 2 && first_[x] == first_[x - 2] + 1 &&
         std::equal(Weights(x), Weights(x) + taps_, Weights(x - 2));
}

void ChromaFilter::FindPairedRun() {
  // A run of outputs x that repeat x - 2 starts its repeated pair two outputs before it.
  int runStart = 0;
  for (int x = 0; x <= OutLength(); ++x) {
    if (x < OutLength() && RepeatsTwoBefore(x)) continue;
    if (x - runStart > pairedEnd_ - pairedBegin_ - 2 && x > runStart) {
      pairedBegin_ = runStart - 2;
      pairedEnd_ = x;
    }
    runStart = x + 1;
  }
}

ChromaFilter ChromaFilter::Upsample(int outLength, bool cosited) {
  // Luma sample x lies at (x - offset) / 2 in chroma samples.
  const double offset = cosited ? 0.0 : 0.5;
  return ChromaFilter((outLength + 1) / 2, outLength, 1.0,
                      [offset](int x) { return (x - offset) / 2; });
}

ChromaFilter ChromaFilter::Downsample(int inLength, bool cosited) {
  const double offset = cosited ? 0.0 : 0.5;
  return ChromaFilter(inLength, (inLength + 1) / 2, 2.0,
                      [offset](int j) { return 2.0 * j + offset; });
}

}  // namespace quorlin_resizer
