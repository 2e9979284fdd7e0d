// The exports of the AVX-512 kernel library, "AVX-512". On a processor or system without
// AVX-512 F, BW, VL and VNNI both return null, so the library is not listed and none of its
// AVX-512 code runs. Compiled without AVX-512, like everything that runs before the check.
#include "avx512/Kernel.h"
#include "cpu/ProcessorFeatures.h"

extern "C" const FilterPluginInfo *__stdcall GetFilterPluginInfo2() {
  return RunsAvx512Kernel(ThisProcessor()) ? &kAvx512YC48Kernel : nullptr;
}

extern "C" const FilterPluginInfo *__stdcall GetYUY2FilterPluginInfo2() {
  return RunsAvx512Kernel(ThisProcessor()) ? &kAvx512YUY2Kernel : nullptr;
}
