#include "engine/TNearestNeighbor.h"

#include "engine/NearestNeighborTable.h"

void TNearestNeighbor::SetShrinkWeights(WeightTable *table, int32_t srcLen, int32_t dstLen,
                                        int32_t step, int32_t) {
  BuildNearestNeighborTable(table, srcLen, dstLen, step);
}

void TNearestNeighbor::SetEnlargeWeights(WeightTable *table, int32_t srcLen, int32_t dstLen,
                                         int32_t step, int32_t horizontal) {
  SetShrinkWeights(table, srcLen, dstLen, step, horizontal);
}
