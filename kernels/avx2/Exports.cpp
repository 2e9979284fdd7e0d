// The exports of the AVX2 kernel library, "AVX2". On a processor or system without AVX2 both
// return null, so the library is not listed and none of its AVX2 code runs. Compiled without
// AVX2, like everything that runs before the check.
#include "avx2/Kernel.h"
#include "cpu/ProcessorFeatures.h"

extern "C" const FilterPluginInfo *__stdcall GetFilterPluginInfo2() {
  return RunsAvx2(ThisProcessor()) ? &kAvx2YC48Kernel : nullptr;
}

extern "C" const FilterPluginInfo *__stdcall GetYUY2FilterPluginInfo2() {
  return RunsAvx2(ThisProcessor()) ? &kAvx2YUY2Kernel : nullptr;
}
