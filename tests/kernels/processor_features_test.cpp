// The processor checks on made-up CPUID and XGETBV answers: the bits each check needs and no
// others pass it, and every one of them missing alone declines the processor; processors that
// split 512-bit operations in two are told by vendor and family.
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

TEST(ProcessorCheck, FindsTheProcessorsThatSplitWideVectors) {
  constexpr uint32_t kAmd[3] = {0x68747541, 0x69746E65, 0x444D4163};    // "AuthenticAMD"
  constexpr uint32_t kIntel[3] = {0x756E6547, 0x49656E69, 0x6C65746E};  // "GenuineIntel"
  struct Processor {
    const char *what;
    const uint32_t *vendor;
    uint32_t leaf1Eax, family;
    bool splits;
  };
  const Processor processors[] = {
      {"Xeon (Sapphire Rapids)", kIntel, 0x000806F8, 0x06, false},
      {"EPYC 9004 (Zen 4)", kAmd, 0x00A10F11, 0x19, true},
      {"Ryzen 7000 (Zen 4)", kAmd, 0x00A60F12, 0x19, true},
      {"EPYC 9005 (Zen 5)", kAmd, 0x00B00F21, 0x1A, false},
      {"Intel with AMD's family number", kIntel, 0x00A10F11, 0x19, false},
  };
  for (const Processor &p : processors) {
    ProcessorFeatureWords words{};
    for (int i = 0; i < 3; ++i) words.Vendor[i] = p.vendor[i];
    words.Leaf1Eax = p.leaf1Eax;
    EXPECT_EQ(ProcessorFamily(p.leaf1Eax), p.family) << p.what;
    EXPECT_EQ(SplitsWideVectors(words), p.splits) << p.what;
  }
}

}  // namespace
