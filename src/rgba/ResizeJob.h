// One call's resize: the taps of both axes (shared, see TapsCache.h) and every buffer, made before
// any output is written, then the output rows in bands, one band a thread. A band keeps a ring of
// the rows its output rows combine vertically. Whichever order costs fewer taps is taken: filtering
// the source rows horizontally once into the ring (the ring's rows are then output-wide), or
// keeping source rows premultiplied in the ring and filtering the combined rows horizontally.
// Either way the horizontal filter takes a group of kRgbaGroupRows rows at once, so a band makes
// its output rows that many at a time, combining them vertically two at a time. The output rows
// are divided back and rounded.
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
  ~ResizeJob();
  ResizeJob(const ResizeJob &) = delete;
  ResizeJob &operator=(const ResizeJob &) = delete;

  // The output rows of band `index` of `count` (the count given to the constructor).
  void RunBand(int index, int count);

 private:
  // A band's buffers, carved from one arena taken from the shared stash (BufferStash.h).
  struct BandBuffers {
    std::vector<float> Arena;
    float *Ring;      // ringRows_ rows of ringFloats_, ringStride_ apart
    float *Group;     // a group of source-wide rows, interleaved, zeros past their end
    float *Combined;  // horizontal first: kRgbaGroupRows rows of vertical sums, like the ring's
    float *Filtered;  // vertical first: the combined rows filtered horizontally
    float *Spare;     // horizontal first: a group's rows past the source's bottom
    std::vector<const float *> Rows;  // the rows two output rows combine
  };

  bool HorizontalFirst() const;
  void SizeRing();
  float *RingRow(BandBuffers &buffers, int32_t sourceRow) const;
  int32_t FillRing(BandBuffers &buffers, int32_t sourceRow) const;
  void CombineRows(BandBuffers &buffers, int32_t y, int32_t count, float *out, size_t next,
                   int32_t pixelFloats) const;
  void WriteOutputRows(BandBuffers &buffers, int32_t y, int32_t count) const;

  const Image src_, dst_;
  const kernels::RgbaKernel &kernel_;
  const uint16_t *decode_;         // null unless in linear light
  const float *encodeThresholds_;  // likewise
  std::shared_ptr<const AxisTaps> horizontal_, vertical_;
  bool horizontalFirst_ = true;
  int32_t ringFloats_ = 0;       // a ring row (output- or source-wide), a multiple of 16
  int32_t ringStride_ = 0;       // floats from one ring (or combined) row to the next
  int32_t ringRows_ = 0;         // rows a band's output rows need at once, plus a group's spare
  int32_t pairRows_ = 0;         // rows two neighbouring output rows need at most
  size_t groupFloats_ = 0;       // a group, its zeros included
  std::vector<float> zeroRow_;   // stands for rows past the source's bottom
  std::vector<BandBuffers> bands_;
};

}  // namespace rgba
