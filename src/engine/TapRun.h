// The taps of one output position of a window-function table: which source positions the
// window reaches and at which distance from the output's centre each one is weighed.
//
// Source sample k has its centre at k + 0.5 and output sample i at (i + 0.5) x S / D, both in
// source coordinates. Enlarging measures distances in source samples; shrinking measures them
// in output samples, which stretches the window by S / D.
#pragma once

#include <cstdint>

enum class ResizeDirection { Shrink, Enlarge };

// Number of taps of every output position: 2R when enlarging; when shrinking the window's full
// width 2R in output samples, stretched to source samples and rounded up. A count that no
// table could hold raises the run-time's out-of-memory failure.
int32_t TapCount(ResizeDirection direction, int32_t radius, int32_t srcLen, int32_t dstLen);

// The source sample whose cell holds the centre of output `column` (a centre on a cell
// boundary belongs to the cell on the right).
int32_t CentreSample(int32_t column, int32_t srcLen, int32_t dstLen);

class TapRun {
 public:
  TapRun(ResizeDirection direction, int32_t column, int32_t srcLen, int32_t dstLen,
         int32_t radius, int32_t tapCount);

  int32_t First() const { return first_; }
  int32_t Last() const { return last_; }

  // Calls visit(k, t) for every tap k from First to Last, in order, with its distance t.
  template <class Visit>
  void ForEachTap(Visit visit) const {
    double enlargeDistance = firstEnlargeDistance_;
    for (int32_t k = first_; k <= last_; ++k) {
      visit(k, direction_ == ResizeDirection::Shrink ? ShrinkDistance(k) : enlargeDistance);
      enlargeDistance += 1.0;  // enlarging: each tap one source sample further
    }
  }

 private:
  double ShrinkDistance(int32_t k) const;

  ResizeDirection direction_;
  int32_t column_;
  int32_t srcLen_;
  int32_t dstLen_;
  int32_t first_;
  int32_t last_;
  double firstEnlargeDistance_ = 0.0;
};
