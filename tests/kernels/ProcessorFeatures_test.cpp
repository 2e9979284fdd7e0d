// The processor checks on made-up CPUID and XGETBV answers: the bits each check needs and no
// others pass it, and every one of them missing alone declines the processor.
#include "cpu/ProcessorFeatures.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Needed {
  const char *what;
  uint32_t ProcessorFeatureWords::*word;
  int bit;
};

const Needed kOsxsave = {"OSXSAVE", &ProcessorFeatureWords::Leaf1Ecx, 27};
const Needed kSseState = {"SSE state", &ProcessorFeatureWords::Xcr0, 1};
const Needed kAvxState = {"AVX state", &ProcessorFeatureWords::Xcr0, 2};
const Needed kAvx2 = {"AVX2", &ProcessorFeatureWords::Leaf7Ebx, 5};

struct Check {
  const char *name;
  bool (*runs)(const ProcessorFeatureWords &);
  std::vector<Needed> needed;
};

TEST(ProcessorCheck, RunsWithTheNeededBitsAndDeclinesWithoutAnyOfThem) {
  const Check checks[] = {
      {"AVX2", &RunsAvx2, {kOsxsave, kSseState, kAvxState, kAvx2}},
      {"AVX-512 kernel",
       &RunsAvx512Kernel,
       {kOsxsave, kSseState, kAvxState, kAvx2,
        {"opmask state", &ProcessorFeatureWords::Xcr0, 5},
        {"ZMM0-15 upper halves", &ProcessorFeatureWords::Xcr0, 6},
        {"ZMM16-31", &ProcessorFeatureWords::Xcr0, 7},
        {"AVX-512 F", &ProcessorFeatureWords::Leaf7Ebx, 16},
        {"AVX-512 BW", &ProcessorFeatureWords::Leaf7Ebx, 30},
        {"AVX-512 VL", &ProcessorFeatureWords::Leaf7Ebx, 31},
        {"AVX-512 VNNI", &ProcessorFeatureWords::Leaf7Ecx, 11}}},
  };
  for (const Check &check : checks) {
    ProcessorFeatureWords onlyNeeded{};
    for (const Needed &n : check.needed) onlyNeeded.*n.word |= 1u << n.bit;
    EXPECT_TRUE(check.runs(onlyNeeded)) << check.name;
    for (const Needed &n : check.needed) {
      ProcessorFeatureWords words = onlyNeeded;
      words.*n.word &= ~(1u << n.bit);
      EXPECT_FALSE(check.runs(words)) << check.name << " without " << n.what;
    }
  }
}

// Whatever this machine is, a processor that runs the AVX-512 kernel runs AVX2 code too.
TEST(ProcessorCheck, ThisProcessorRunningTheAvx512KernelRunsAvx2) {
  const ProcessorFeatureWords words = ThisProcessor();
  EXPECT_TRUE(!RunsAvx512Kernel(words) || RunsAvx2(words));
  EXPECT_EQ(words.Xcr0 != 0, (words.Leaf1Ecx & 1u << 27) != 0) << "XGETBV read only with OSXSAVE";
}

}  // namespace
