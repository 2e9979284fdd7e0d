#include "engine/NearestNeighborTable.h"

#include "engine/TableAllocation.h"
#include "engine/TapRun.h"

namespace {

// Pool: block E (16384, 0) at offset 0, block O (0, 16384) at offset 8, one pair each.
constexpr int32_t kPoolBytes = 16;
constexpr int32_t kEvenBlock = 0;
constexpr int32_t kOddBlock = 8;

int16_t *WriteOnePairBlock(uint8_t *at, int16_t even, int16_t odd) {
  *reinterpret_cast<int32_t *>(at) = 1;  // PairCount
  int16_t *coeffs = reinterpret_cast<int16_t *>(at + 4);
  coeffs[0] = even;
  coeffs[1] = odd;
  return coeffs;
}

}  // namespace

void BuildNearestNeighborTable(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step) {
  AllocateTable(table, kPoolBytes, dstLen);
  uint8_t *pool = static_cast<uint8_t *>(table->Pool);
  int16_t *const evenSample = WriteOnePairBlock(pool + kEvenBlock, 16384, 0);
  int16_t *const oddSample = WriteOnePairBlock(pool + kOddBlock, 0, 16384);
  for (int32_t i = 0; i < dstLen; ++i) {
    const int32_t s = CentreSample(i, srcLen, dstLen);
    table->Entries[i].Offset = s / 2 * step;
    table->Entries[i].Coeffs = s % 2 == 0 ? evenSample : oddSample;
  }
}
