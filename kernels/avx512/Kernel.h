// The AVX-512 kernel's two records, defined in the one source file compiled for AVX-512. They
// are constants: loading the library runs no AVX-512 instruction.
#pragma once

#include "engine/FilterPluginInfo.h"

extern const FilterPluginInfo kAvx512YC48Kernel;
extern const FilterPluginInfo kAvx512YUY2Kernel;
