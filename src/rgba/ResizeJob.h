// One call's resize: the taps of both axes (shared, see TapsCache.h) and every buffer, made before
// any output is written, then the output rows in bands, one band a thread. A band keeps a ring of
// the rows its output rows combine vertically. Whichever order costs fewer taps is taken: filtering
// each source row horizontally once into the ring (the ring's rows are then output-wide), or
// keeping source rows premultiplied in the ring and filtering each combined row horizontally. The
// output row is divided back and rounded.
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
    std::vector<float> Ring;           // vertical tap count rows of ringFloats_
    std::vector<float> Premultiplied;  // horizontal first: a source row, zeros past its end
    std::vector<float> Combined;       // an output row's vertical sums, ringFloats_
    std::vector<float> Filtered;       // vertical first: the combined row filtered horizontally
    std::vector<const float *> Rows;   // the rows an output row combines
  };

  bool HorizontalFirst() const;
  float *RingRow(BandBuffers &buffers, int32_t sourceRow) const;
  void FillRingRow(BandBuffers &buffers, int32_t sourceRow) const;
  void WriteOutputRow(BandBuffers &buffers, int32_t y, int32_t top) const;

  const Image src_, dst_;
  const kernels::RgbaKernel &kernel_;
  const uint16_t *decode_;         // null unless in linear light
  const float *encodeThresholds_;  // likewise
  std::shared_ptr<const AxisTaps> horizontal_, vertical_;
  bool horizontalFirst_ = true;
  int32_t sourceRowFloats_ = 0;  // a premultiplied source row with its zeros, a multiple of 16
  int32_t ringFloats_ = 0;       // a ring row, a multiple of 16
  std::vector<float> zeroRow_;   // stands for rows past the source's bottom
  std::vector<BandBuffers> bands_;
};

}  // namespace rgba
