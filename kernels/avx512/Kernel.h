// The AVX-512 kernel's records, YC48 and YUY2, and those for processors that split 512-bit
// operations in two, defined in the one source file compiled for AVX-512. They are constants:
// loading the library runs no AVX-512 instruction.
#pragma once

#include "contracts/FilterPluginInfo.h"

extern const FilterPluginInfo kAvx512YC48Kernel;
extern const FilterPluginInfo kAvx512YUY2Kernel;
extern const FilterPluginInfo kAvx512SplitYC48Kernel;
extern const FilterPluginInfo kAvx512SplitYUY2Kernel;
