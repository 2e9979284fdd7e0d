// The AVX2 kernel's two records, defined in the source files compiled for AVX2 (YC48Kernel.cpp,
// YUY2Kernel.cpp). They are constants: loading the library runs no AVX2 instruction.
#pragma once

#include "contracts/FilterPluginInfo.h"

extern const FilterPluginInfo kAvx2YC48Kernel;
extern const FilterPluginInfo kAvx2YUY2Kernel;
