#include "engine/TAreaAverage.h"

#include "engine/BlockPool.h"
#include "engine/NearestNeighborTable.h"
#include "engine/TableAllocation.h"

namespace {

constexpr int64_t kUnity = 16384;  // 1.0 in 14 fractional bits

// Output i covers the source interval [i x S / D, (i + 1) x S / D). Counted in units of 1/D of
// a source sample that is S x i to S x (i + 1) - 1. The arithmetic is 64-bit so that S x D and
// D x 16384 may exceed 31 bits.
struct CoveredCells {
  CoveredCells(int32_t i, int32_t srcLen, int32_t dstLen)
      : begin(static_cast<int64_t>(srcLen) * i),
        end(static_cast<int64_t>(srcLen) * (i + 1) - 1),
        first(static_cast<int32_t>(begin / dstLen)),
        last(static_cast<int32_t>(end / dstLen)) {}

  int64_t begin;
  int64_t end;
  int32_t first;  // first source sample touched
  int32_t last;   // last source sample touched
};

uint64_t ShrinkPoolBytes(int32_t srcLen, int32_t dstLen) {
  const int64_t cellsPerOutput = (static_cast<int64_t>(srcLen) + dstLen - 1) / dstLen;
  return static_cast<uint64_t>(dstLen) * (8 + 4 * ((cellsPerOutput + 2) / 2 + 1));
}

// Writes the covered fractions, each truncated on its own and never normalised, so a block
// sums to 16384 minus up to one unit per sample.
void WriteCoveredFractions(int16_t *coeffs, const CoveredCells &cells, int32_t srcLen,
                           int32_t dstLen, int16_t full) {
  int32_t n = 0;
  if (cells.first % 2 != 0) coeffs[n++] = 0;
  coeffs[n++] = static_cast<int16_t>((dstLen - cells.begin % dstLen) * kUnity / srcLen);
  for (int32_t k = cells.first + 1; k < cells.last; ++k) coeffs[n++] = full;
  coeffs[n++] = static_cast<int16_t>((cells.end % dstLen + 1) * kUnity / srcLen);
  if (n % 2 != 0) coeffs[n] = 0;
}

}  // namespace

void TAreaAverage::SetShrinkWeights(WeightTable *table, int32_t srcLen, int32_t dstLen,
                                    int32_t step, int32_t) {
  const int16_t full = static_cast<int16_t>(dstLen * kUnity / srcLen);
  AllocateTable(table, ShrinkPoolBytes(srcLen, dstLen), dstLen);
  BlockPool pool(table->Pool, 0, 1);
  for (int32_t i = 0; i < dstLen; ++i) {
    const CoveredCells cells(i, srcLen, dstLen);
    const int32_t span = cells.last - cells.first;  // at least 1, since S > D
    int16_t *coeffs = pool.Open((span + 1 + cells.first % 2 + 1) / 2);
    WriteCoveredFractions(coeffs, cells, srcLen, dstLen, full);
    table->Entries[i].Offset = cells.first / 2 * step;
    table->Entries[i].Coeffs = pool.Close();
  }
}

void TAreaAverage::SetEnlargeWeights(WeightTable *table, int32_t srcLen, int32_t dstLen,
                                     int32_t step, int32_t) {
  BuildNearestNeighborTable(table, srcLen, dstLen, step);
}
