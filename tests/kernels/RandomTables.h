// Random weight tables in the layouts the kernels read, so that kernels are checked
// independently of the weight setters. Every table is valid: Offsets and block ends never
// decrease, blocks cover only source positions inside the axis, except a padding coefficient 0
// for position srcLen. Pool and Entries are AlignedAlloc blocks, owned by the caller (the engine
// frees them with AlignedFree).
#pragma once

#include <cstdint>
#include <random>

#include "contracts/WeightTable.h"

enum class CoeffRange {
  Moderate,  // outputs mostly inside the sample range, some clamped
  Full,      // any 16-bit value: 32-bit sums overflow and wrap around
};

// One entry per output position; `pairCoeffs` 2 (shared weights) or 4 (separate weights).
void BuildRandomAxisTable(std::mt19937 &rng, WeightTable *table, int32_t srcLen, int32_t dstLen,
                          int32_t step, int pairCoeffs, CoeffRange range);

// YUY2 horizontal layout: per output pixel pair q, luma 2q, luma 2q + 1 and chroma q, whose
// blocks run along the srcWidth / 2 chroma samples (Offset = even chroma sample x step).
void BuildRandomYUY2HorizontalTable(std::mt19937 &rng, WeightTable *table, int32_t srcWidth,
                                    int32_t dstWidth, int32_t step, CoeffRange range);
