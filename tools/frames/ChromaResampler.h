// Chroma planes of Y4M frames resampled between 4:4:4, 4:2:2 and 4:2:0 with ChromaFilter, one
// axis at a time: rows first into samples with 6 fraction bits (value x 64), then columns, an
// output row at a time, so that the rows in between stay in the processor's caches
// (ChromaRowWindow). A resampler keeps the filters of the sizes it last saw and its scratch
// rows, so that a stream of frames of one size builds them once; one resampler serves one
// thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "frames/ChromaFilter.h"
#include "frames/ChromaFraction.h"
#include "frames/ChromaRowWindow.h"
#include "video-io/Y4mFormat.h"

namespace quorlin_resizer {

// Takes chroma row y of both planes, `u` and `v`, valid until it returns.
template <class Out>
using ChromaRowSink = std::function<void(int y, const Out *u, const Out *v)>;

class ChromaResampler {
 public:
  // The chroma of `frame` (sited as `siting` says) resampled to `format`, handed to `sink` row
  // by row from the top, as many samples a row as `format` has for frame.width pixels: bytes
  // (uint8_t), or samples with kChromaFractionBits (int16_t) for the editor's YC48 frames,
  // which hold more than 8 bits. Going down, the samples are sited as Convert's.
  template <class Out>
  void ResampleRows(const Y4mFrame &frame, ChromaSiting siting, ChromaFormat format,
                    const ChromaRowSink<Out> &sink);
  // `in` with its chroma resampled to `format` in 8 bits, sited as the Y4M writer labels it
  // (4:2:0 centred, 4:2:2 left); luma is copied. An axis whose sampling stays is copied as it is.
  void Convert(const Y4mFrame &in, ChromaSiting siting, ChromaFormat format, Y4mFrame &out);

 private:
  struct Axes {
    const ChromaFilter *horizontal = nullptr;  // null: the axis keeps its samples
    const ChromaFilter *vertical = nullptr;
  };
  Axes AxesFor(const Y4mFrame &in, ChromaSiting siting, ChromaFormat format);
  const ChromaFilter *Filter(bool up, int lumaLength, bool cosited);
  // Starts both planes of `frame` through `axes`.
  void Start(const Y4mFrame &frame, const Axes &axes);
  // Output row y of plane `plane` (0: U, 1: V) through the column pass into `out`.
  template <class Out>
  void ColumnRow(int plane, const Axes &axes, int y, Out *out);

  struct CachedFilter {
    bool up;
    int lumaLength;
    bool cosited;
    std::unique_ptr<ChromaFilter> filter;
  };
  std::vector<CachedFilter> filters_;
  ChromaRowWindow windows_[2];            // U and V after the row pass
  std::vector<const int16_t *> tapRows_;  // the rows of one output row's taps
  std::vector<int16_t> uRow_, vRow_;      // one output row of each plane, placed in them
};

}  // namespace quorlin_resizer
