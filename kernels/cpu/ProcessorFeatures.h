// What this processor and the operating system run: the CPUID and XGETBV answers that decide
// it, and the checks on them that the kernel libraries make before they offer their routines
// and the command-line tool makes before it picks its conversion rows. Compiled without any
// extension: it runs before the checks.
#pragma once

#include <cstdint>

// The processor's answers that decide it.
struct ProcessorFeatureWords {
  uint32_t Leaf1Ecx;   // CPUID leaf 1, ECX
  uint32_t Xcr0;       // XGETBV 0, low word; 0 where leaf 1 reports no XGETBV
  uint32_t Leaf7Ebx;   // CPUID leaf 7, subleaf 0, EBX; 0 where leaf 7 does not exist
  uint32_t Leaf7Ecx;   // CPUID leaf 7, subleaf 0, ECX
  uint32_t Vendor[3];  // CPUID leaf 0: EBX, EDX, ECX, the vendor's name in that order
  uint32_t Leaf1Eax;   // CPUID leaf 1, EAX: family, model and stepping
};

// The words of this processor.
ProcessorFeatureWords ThisProcessor();

// AVX2, with the system saving the SSE and AVX registers on a thread switch.
bool RunsAvx2(const ProcessorFeatureWords &words);

// What the AVX-512 kernel uses: AVX-512 F, BW, VL and VNNI (and the AVX2 they build on), with
// the system saving the opmask and all 512 bits of the 32 vector registers on a thread switch.
bool RunsAvx512Kernel(const ProcessorFeatureWords &words);

// The family as the vendors number it: the extended family is added to a base family of 15.
uint32_t ProcessorFamily(uint32_t leaf1Eax);

// Processors that run every 512-bit operation as two 256-bit halves, where the AVX-512 kernel's
// 512-bit filters measured no faster than AVX2: AMD's family 19h (Zen 4).
bool SplitsWideVectors(const ProcessorFeatureWords &words);
