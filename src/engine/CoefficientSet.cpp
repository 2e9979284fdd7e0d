#include "engine/CoefficientSet.h"

#include <algorithm>

CoefficientSet::CoefficientSet(int32_t slotCapacity, std::vector<TapRemainder *> *sortList)
    : slots_(slotCapacity), coefficients_(slotCapacity), remainders_(slotCapacity),
      sortList_(sortList) {}

const int16_t *CoefficientSet::Quantize(int32_t count, int32_t fallbackSlot) {
  QuantizeWeights(slots_.data(), coefficients_.data(), *sortList_, count, remainders_.data(),
                  fallbackSlot);
  return coefficients_.data();
}

int16_t *CoefficientSet::StoreBlock(BlockPool &pool, int32_t count, int32_t fallbackSlot) {
  const int16_t *coefficients = Quantize(count, fallbackSlot);
  std::copy(coefficients, coefficients + count, pool.Open(count / 2));
  return pool.Close();
}
