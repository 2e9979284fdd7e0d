// The AVX-512 kernel's processor check on made-up CPUID and XGETBV answers: the bits it needs
// and no others run it, and every one of them missing alone declines the processor.
#include "avx512/ProcessorSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(Avx512ProcessorCheck, RunsWithTheNeededBitsAndDeclinesWithoutAnyOfThem) {
  struct Needed {
    const char *what;
    uint32_t ProcessorFeatureWords::*word;
    int bit;
  };
  const Needed needed[] = {
      {"OSXSAVE", &ProcessorFeatureWords::Leaf1Ecx, 27},
      {"SSE state", &ProcessorFeatureWords::Xcr0, 1},
      {"AVX state", &ProcessorFeatureWords::Xcr0, 2},
      {"opmask state", &ProcessorFeatureWords::Xcr0, 5},
      {"ZMM0-15 upper halves", &ProcessorFeatureWords::Xcr0, 6},
      {"ZMM16-31", &ProcessorFeatureWords::Xcr0, 7},
      {"AVX2", &ProcessorFeatureWords::Leaf7Ebx, 5},
      {"AVX-512 F", &ProcessorFeatureWords::Leaf7Ebx, 16},
      {"AVX-512 BW", &ProcessorFeatureWords::Leaf7Ebx, 30},
      {"AVX-512 VL", &ProcessorFeatureWords::Leaf7Ebx, 31},
      {"AVX-512 VNNI", &ProcessorFeatureWords::Leaf7Ecx, 11},
  };
  ProcessorFeatureWords onlyNeeded{};
  for (const Needed &n : needed) onlyNeeded.*n.word |= 1u << n.bit;
  EXPECT_TRUE(RunsAvx512Kernel(onlyNeeded));
  for (const Needed &n : needed) {
    ProcessorFeatureWords words = onlyNeeded;
    words.*n.word &= ~(1u << n.bit);
    EXPECT_FALSE(RunsAvx512Kernel(words)) << "without " << n.what;
  }
}

}  // namespace
