// One call's resize: the taps of both axes and every buffer, made before any output is written,
// then the output rows in bands, one band a thread. A band filters each source row it needs
// horizontally once, premultiplied, into a ring of rows, and combines the ring's rows vertically
// into each output row, which it divides back and rounds.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "common/RgbaKernel.h"
#include "rgba/AxisTaps.h"
#include "rgba/RgbaResizer.h"

namespace rgba {

class ResizeJob {
 public:
  // Throws std::bad_alloc when memory runs out; nothing is written then.
  ResizeJob(const Image &src, const Image &dst, const ResizeOptions &options,
            const kernels::RgbaKernel &kernel, int bands);

  // The output rows of band `index` of `count` (the count given to the constructor).
  void RunBand(int index, int count);

 private:
  struct BandBuffers {
    std::vector<float> Ring;           // vertical tap count rows
    std::vector<float> Premultiplied;  // a source row, zeros past its end
    std::vector<float> Sums;           // an output row's sums
    std::vector<const float *> Rows;   // the rows an output row combines
  };

  float *RingRow(BandBuffers &buffers, int32_t sourceRow) const;
  void FilterSourceRow(BandBuffers &buffers, int32_t sourceRow) const;

  const Image src_, dst_;
  const kernels::RgbaKernel &kernel_;
  const uint16_t *decode_;         // null unless in linear light
  const float *encodeThresholds_;  // likewise
  std::unique_ptr<AxisTaps> horizontal_, vertical_;
  int32_t rowFloats_ = 0;  // floats of a horizontally filtered row, a multiple of 16
  std::vector<float> zeroRow_;
  std::vector<BandBuffers> bands_;
};

}  // namespace rgba
