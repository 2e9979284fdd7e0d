#include "avx2/ProcessorSupport.h"

#include <cpuid.h>

#include <cstdint>

namespace {

constexpr uint32_t kOsxsaveBit = 1u << 27;  // leaf 1, ECX: XGETBV is available
constexpr uint32_t kAvx2Bit = 1u << 5;      // leaf 7, EBX
// XCR0: the system saves the SSE (bit 1) and AVX (bit 2) registers on a thread switch.
constexpr uint32_t kSseAndAvxState = 0x6;

uint32_t ExtendedControlRegister0() {
  uint32_t low, high;
  __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return low;
}

}  // namespace

bool ProcessorRunsAvx2() {
  unsigned eax, ebx, ecx, edx;
  if (__get_cpuid_max(0, nullptr) < 7) return false;
  __cpuid(1, eax, ebx, ecx, edx);
  if ((ecx & kOsxsaveBit) == 0) return false;
  if ((ExtendedControlRegister0() & kSseAndAvxState) != kSseAndAvxState) return false;
  __cpuid_count(7, 0, eax, ebx, ecx, edx);
  return (ebx & kAvx2Bit) != 0;
}
