// Keeps the settings record's parameters inside their window functions' ranges, and remembers
// every valid one for its function.
#pragma once

#include <cstdint>

#include "contracts/WindowFuncInfo.h"

// A parameter outside info's ParamMin..ParamMax (compared as a full int32) is replaced by the
// remembered value; a valid one becomes the remembered value.
void ValidateParameter(const WindowFuncInfo &info, int32_t &param, int16_t &remembered);

// Applies ValidateParameter to the luma and the chroma side of the live settings record, for
// each side whose method names a listed window function. Built-in methods and unknown names
// leave that side alone.
void ValidateParameters();
