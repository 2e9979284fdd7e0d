// Division by a fixed divisor of values that are exact multiples of it, as a shift and a
// multiplication. Table offsets are whole multiples of their step, and a division per output
// pixel would cost more than the pixel's arithmetic.
#pragma once

#include <cstdint>

namespace kernels::simd {

class ExactDivider {
 public:
  explicit ExactDivider(int32_t divisor) {
    uint32_t odd = static_cast<uint32_t>(divisor);
    while (odd % 2 == 0) {
      odd /= 2;
      ++shift_;
    }
    // Newton's iteration for the inverse modulo 2^32: each step doubles the correct low bits.
    uint32_t inverse = odd;
    for (int i = 0; i < 5; ++i) inverse *= 2 - odd * inverse;
    inverse_ = inverse;
  }

  // value / divisor for a non-negative multiple of the divisor.
  int32_t Divide(int32_t value) const {
    return static_cast<int32_t>((static_cast<uint32_t>(value) >> shift_) * inverse_);
  }

 private:
  int shift_ = 0;
  uint32_t inverse_ = 1;
};

}  // namespace kernels::simd
