// AVX2's operations with the multiply-adds of AVX-512 VL and VNNI: 256-bit vectors whose
// vpdpwssd adds the products of 16-bit pairs to the sums in place, with no separate add. The
// YUY2 vertical filter of the AVX-512 kernel runs over them on processors that split every
// 512-bit operation into two 256-bit halves (Kernel.cpp): there the 512-bit vertical filter
// takes twice a 256-bit one's time per instruction and gains nothing from the width.
#pragma once

#include <immintrin.h>

#include "simd/Avx2Ops.h"

namespace kernels::simd {

struct Avx512NarrowOps : Avx2Ops {
  // sums + the 16-bit pairs' products with the coefficient pairs, lane by lane, in one
  // instruction. Written out for the reason given at Avx512Ops::AddPairProducts.
  static Vec AddPairProducts(Vec sums, Vec pairs, Vec coeffs) {
    __asm__("vpdpwssd %2, %1, %0" : "+v"(sums) : "%v"(pairs), "vm"(coeffs));
    return sums;
  }
};

}  // namespace kernels::simd
