// The nearest-neighbour table: every output takes the one source sample whose cell holds its
// centre. Two fixed blocks serve all outputs, one for an even and one for an odd sample.
#pragma once

#include <cstdint>

#include "contracts/WeightTable.h"

void BuildNearestNeighborTable(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step);
