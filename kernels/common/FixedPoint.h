// Fixed-point arithmetic of the kernels: 16-bit coefficients with 14 fractional bits, 32-bit
// sums that wrap around exactly like the packed multiply-add of the SIMD kernels.
#pragma once

#include <cstdint>

namespace kernels {

constexpr int kCoeffFractionBits = 14;
constexpr uint32_t kRoundingBias = 1u << (kCoeffFractionBits - 1);

// sum + coeff x sample, modulo 2^32. Unsigned arithmetic keeps an overflowing sum defined.
inline uint32_t MulAdd(uint32_t sum, int32_t coeff, int32_t sample) {
  return sum + static_cast<uint32_t>(coeff * sample);  // |coeff x sample| <= 2^30: no overflow
}

// (sum + 8192) >> 14 on the wrapped 32-bit sum, as a signed value (arithmetic shift).
inline int32_t Descale(uint32_t sum) {
  return static_cast<int32_t>(sum + kRoundingBias) >> kCoeffFractionBits;
}

}  // namespace kernels
