// Fixed-point arithmetic of the kernels: 16-bit coefficients with 14 fractional bits, 32-bit
// sums that wrap around exactly like the packed multiply-add of the SIMD kernels.
#pragma once

#include <cstdint>

namespace kernels {

constexpr int kCoeffFractionBits = 14;

// sum + coeff x sample, modulo 2^32. Unsigned arithmetic keeps an overflowing sum defined.
inline uint32_t MulAdd(uint32_t sum, int32_t coeff, int32_t sample) {
  return sum + static_cast<uint32_t>(coeff * sample);  // |coeff x sample| <= 2^30: no overflow
}

// The shift that takes a sum of coefficients times samples with `inBits` fraction bits to
// samples with `outBits`.
constexpr int DescaleShift(int inBits, int outBits) {
  return kCoeffFractionBits + inBits - outBits;
}

// (sum + 2^(Shift - 1)) >> Shift on the wrapped 32-bit sum, as a signed value (arithmetic shift).
template <int Shift>
int32_t Descale(uint32_t sum) {
  static_assert(Shift > 0 && Shift < 32, "a shift within the sum");
  return static_cast<int32_t>(sum + (1u << (Shift - 1))) >> Shift;
}

}  // namespace kernels
