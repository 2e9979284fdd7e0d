// Resampling of subsampled chroma by two along one axis, up (to every luma sample) or down (to
// every second one), with the Spline36 kernel, stretched by two when going down so that it
// also filters out what the smaller grid cannot hold.
//
// Positions are in luma samples, sample centres at whole numbers. Chroma sample j of a
// subsampled axis sits at 2j when sited on the first luma sample of its pair ("cosited"), at
// 2j + 0.5 when centred between the two. Samples beyond either end repeat the end sample.
//
// Weights are fixed point with the kernels' 14 fraction bits (FixedPoint.h), summing to exactly
// 1 << 14 per output sample; every output sample reads Taps() consecutive input samples from its
// First(), all inside the input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/FixedPoint.h"

namespace quorlin_resizer {

class ChromaFilter {
 public:
  static constexpr int kWeightBits = kernels::kCoeffFractionBits;

  // From the (outLength + 1) / 2 chroma samples of an axis of outLength luma samples to one
  // chroma sample per luma sample.
  static ChromaFilter Upsample(int outLength, bool cosited);
  // From inLength chroma samples, one per luma sample, to (inLength + 1) / 2.
  static ChromaFilter Downsample(int inLength, bool cosited);

  int InLength() const { return inLength_; }
  int OutLength() const { return static_cast<int>(first_.size()); }
  int Taps() const { return taps_; }
  int First(int out) const { return first_[out]; }
  const int16_t *Weights(int out) const { return &weights_[static_cast<size_t>(out) * taps_]; }
  // Outputs [PairedBegin(), PairedEnd()) repeat the weights of the two outputs before them,
  // each reading one input sample further on: output x takes the weights of PairedBegin() + p
  // (p = (x - PairedBegin()) % 2), from that output's First() plus (x - PairedBegin()) / 2.
  // Upsampling filters have such a run away from the ends; the range is empty where none
  // holds (every filter going down).
  int PairedBegin() const { return pairedBegin_; }
  int PairedEnd() const { return pairedEnd_; }

  // Weights t and t + 1 of `weights` (or t alone, with a zero beside it, where t is the last of
  // `taps`) as one 32-bit pair, as 16-bit multiply-adds take them.
  static int32_t WeightPair(const int16_t *weights, int t, int taps) {
    const uint32_t second = t + 1 < taps ? static_cast<uint16_t>(weights[t + 1]) : 0;
    return static_cast<int32_t>(static_cast<uint16_t>(weights[t]) | second << 16);
  }

 private:
  // Whether output x repeats output x - 2 one input sample further on.
  bool RepeatsTwoBefore(int x) const;
  // Finds the longest run of outputs that repeat the two before them.
  void FindPairedRun();

  // `position(out)`: where output sample `out` sits, in input samples; `scale`: input samples
  // per unit of the kernel (1 up, 2 down).
  template <class Position>
  ChromaFilter(int inLength, int outLength, double scale, const Position &position);

  int inLength_ = 0;
  int taps_ = 0;
  int pairedBegin_ = 0, pairedEnd_ = 0;
  std::vector<int> first_;
  std::vector<int16_t> weights_;
};

}  // namespace quorlin_resizer
