// The exports of the AVX-512 kernel library, "AVX-512". On a processor or system without
// AVX-512 F, BW, VL and VNNI both return null, so the library is not listed and none of its
// AVX-512 code runs. A processor that splits 512-bit operations in two gets the records built
// for it (Kernel.cpp); the choice rests on CPUID alone, so it is the same on every run.
// Compiled without AVX-512, like everything that runs before the check.
#include "avx512/Kernel.h"
#include "cpu/ProcessorFeatures.h"

namespace {

const FilterPluginInfo *RecordForThisProcessor(const FilterPluginInfo &whole,
                                               const FilterPluginInfo &split) {
  const ProcessorFeatureWords words = ThisProcessor();
  if (!RunsAvx512Kernel(words)) return nullptr;
  return SplitsWideVectors(words) ? &split : &whole;
}

}  // namespace

extern "C" const FilterPluginInfo *__stdcall GetFilterPluginInfo2() {
  return RecordForThisProcessor(kAvx512YC48Kernel, kAvx512SplitYC48Kernel);
}

extern "C" const FilterPluginInfo *__stdcall GetYUY2FilterPluginInfo2() {
  return RecordForThisProcessor(kAvx512YUY2Kernel, kAvx512SplitYUY2Kernel);
}
