#include "cpu/ProcessorFeatures.h"

#include <cpuid.h>

namespace {

constexpr uint32_t kOsxsaveBit = 1u << 27;  // leaf 1, ECX: XGETBV is available
constexpr uint32_t kAvx2Bit = 1u << 5;      // leaf 7, EBX
// Leaf 7, EBX: AVX2, AVX-512 F (foundation), BW (8- and 16-bit lanes), VL (128- and 256-bit forms).
constexpr uint32_t kLeaf7EbxAvx512 = kAvx2Bit | 1u << 16 | 1u << 30 | 1u << 31;
constexpr uint32_t kVnniBit = 1u << 11;  // leaf 7, ECX: AVX-512 VNNI (vpdpwssd)
// XCR0: the system saves the SSE (bit 1) and AVX (bit 2) registers; for AVX-512 also the
// opmask registers (bit 5), the upper halves of ZMM0-15 (bit 6) and ZMM16-31 (bit 7).
constexpr uint32_t kXcr0Avx = 1u << 1 | 1u << 2;
constexpr uint32_t kXcr0Avx512 = kXcr0Avx | 1u << 5 | 1u << 6 | 1u << 7;

// "AuthenticAMD" as CPUID leaf 0 returns it in EBX, EDX and ECX.
constexpr uint32_t kAmdVendor[3] = {0x68747541, 0x69746E65, 0x444D4163};
constexpr uint32_t kZen4Family = 0x19;

uint32_t ExtendedControlRegister0() {
  uint32_t low, high;
  __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return low;
}

// The system saves the registers of `xcr0Bits` and the processor has `leaf7EbxBits`.
bool Runs(const ProcessorFeatureWords &words, uint32_t xcr0Bits, uint32_t leaf7EbxBits) {
  return (words.Leaf1Ecx & kOsxsaveBit) != 0 && (words.Xcr0 & xcr0Bits) == xcr0Bits &&
         (words.Leaf7Ebx & leaf7EbxBits) == leaf7EbxBits;
}

}  // namespace

ProcessorFeatureWords ThisProcessor() {
  ProcessorFeatureWords words{};
  unsigned eax, ebx, ecx, edx;
  if (!__get_cpuid(0, &eax, &ebx, &ecx, &edx)) return words;
  words.Vendor[0] = ebx;
  words.Vendor[1] = edx;
  words.Vendor[2] = ecx;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return words;
  words.Leaf1Eax = eax;
  words.Leaf1Ecx = ecx;
  if ((ecx & kOsxsaveBit) != 0) words.Xcr0 = ExtendedControlRegister0();
  if (__get_cpuid_max(0, nullptr) >= 7) {
    __cpuid_count(7, 0, eax, ebx, ecx, edx);
    words.Leaf7Ebx = ebx;
    words.Leaf7Ecx = ecx;
  }
  return words;
}

bool RunsAvx2(const ProcessorFeatureWords &words) {
  return Runs(words, kXcr0Avx, kAvx2Bit);
}

bool RunsAvx512Kernel(const ProcessorFeatureWords &words) {
  return Runs(words, kXcr0Avx512, kLeaf7EbxAvx512) && (words.Leaf7Ecx & kVnniBit) != 0;
}

uint32_t ProcessorFamily(uint32_t leaf1Eax) {
  const uint32_t base = leaf1Eax >> 8 & 0xF;
  return base == 0xF ? base + (leaf1Eax >> 20 & 0xFF) : base;
}

bool SplitsWideVectors(const ProcessorFeatureWords &words) {
  const bool amd = words.Vendor[0] == kAmdVendor[0] && words.Vendor[1] == kAmdVendor[1] &&
                   words.Vendor[2] == kAmdVendor[2];
  return amd && ProcessorFamily(words.Leaf1Eax) == kZen4Family;
}
