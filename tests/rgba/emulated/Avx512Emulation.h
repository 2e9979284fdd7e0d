// The AVX-512 intrinsics of the RGBA operations (kernels/avx512/RgbaOps.h) on a processor without
// AVX-512: SIMDe's portable versions, and lane-by-lane versions, written from the instruction
// set's reference, of the five that this SIMDe release lacks. Included before RgbaOps.h, whose own
// <immintrin.h> then adds nothing.
#pragma once

#include <immintrin.h>
#include <simde/x86/avx512.h>

#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

#define __m512 simde__m512
#define __m512i simde__m512i
#define __mmask16 simde__mmask16
#undef _mm512_setzero_ps
#undef _mm512_shuffle_ps
#undef _mm512_extractf32x4_ps
#undef _mm512_shuffle_epi32
#define _mm512_setzero_ps simde_mm512_setzero_ps
#define _mm512_loadu_ps simde_mm512_loadu_ps
#define _mm512_storeu_ps simde_mm512_storeu_ps
#define _mm512_set1_ps simde_mm512_set1_ps
#define _mm512_add_ps simde_mm512_add_ps
#define _mm512_mul_ps simde_mm512_mul_ps
#define _mm512_div_ps simde_mm512_div_ps
#define _mm512_shuffle_ps simde_mm512_shuffle_ps
#define _mm512_mask_mov_ps simde_mm512_mask_mov_ps
#define _mm512_extractf32x4_ps simde_mm512_extractf32x4_ps
#define _mm512_max_epi32 simde_mm512_max_epi32
#define _mm512_setzero_si512 simde_mm512_setzero_si512
#define _mm512_cmpeq_epi32_mask simde_mm512_cmpeq_epi32_mask
#define _mm512_cvtepu8_epi32 emulated_mm512_cvtepu8_epi32
#define _mm512_cvtepi32_ps emulated_mm512_cvtepi32_ps
#define _mm512_cvttps_epi32 emulated_mm512_cvttps_epi32
#define _mm512_shuffle_epi32 emulated_mm512_shuffle_epi32
#define _mm512_maskz_cvtusepi32_epi8 emulated_mm512_maskz_cvtusepi32_epi8

template <class To, class From>
To Lanes(const From &from) {
  static_assert(sizeof(To) == sizeof(From));
  To to;
  std::memcpy(&to, &from, sizeof(to));
  return to;
}

struct Ints { int32_t v[16]; };
struct Floats { float v[16]; };

// 16 bytes zero-extended to 16 doublewords.
inline simde__m512i emulated_mm512_cvtepu8_epi32(__m128i a) {
  const auto bytes = Lanes<std::array<uint8_t, 16>>(a);
  Ints out;
  for (int i = 0; i < 16; ++i) out.v[i] = bytes[i];
  return Lanes<simde__m512i>(out);
}

inline simde__m512 emulated_mm512_cvtepi32_ps(simde__m512i a) {
  const Ints in = Lanes<Ints>(a);
  Floats out;
  for (int i = 0; i < 16; ++i) out.v[i] = static_cast<float>(in.v[i]);
  return Lanes<simde__m512>(out);
}

// Truncated towards zero; NaN and results out of range give 0x80000000.
inline simde__m512i emulated_mm512_cvttps_epi32(simde__m512 a) {
  const Floats in = Lanes<Floats>(a);
  Ints out;
  for (int i = 0; i < 16; ++i) {
    const float f = in.v[i];
    const bool fits = !std::isnan(f) && f > -2147483904.0f && f < 2147483648.0f;
    out.v[i] = fits ? static_cast<int32_t>(f) : INT_MIN;
  }
  return Lanes<simde__m512i>(out);
}

// In each 128-bit lane, doubleword i is the one picked by bits 2i, 2i + 1 of imm.
inline simde__m512i emulated_mm512_shuffle_epi32(simde__m512i a, int imm) {
  const Ints in = Lanes<Ints>(a);
  Ints out;
  for (int lane = 0; lane < 4; ++lane) {
    for (int i = 0; i < 4; ++i) out.v[4 * lane + i] = in.v[4 * lane + ((imm >> (2 * i)) & 3)];
  }
  return Lanes<simde__m512i>(out);
}

// Unsigned doublewords saturated to bytes; bytes whose mask bit is clear are 0.
inline __m128i emulated_mm512_maskz_cvtusepi32_epi8(simde__mmask16 mask, simde__m512i a) {
  const Ints in = Lanes<Ints>(a);
  std::array<uint8_t, 16> out;
  for (int i = 0; i < 16; ++i) {
    const uint32_t u = static_cast<uint32_t>(in.v[i]);
    out[i] = (mask >> i & 1) ? static_cast<uint8_t>(u > 255 ? 255 : u) : 0;
  }
  return Lanes<__m128i>(out);
}
