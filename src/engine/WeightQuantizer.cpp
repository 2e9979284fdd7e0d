#include "engine/WeightQuantizer.h"

#include <cmath>
#include <utility>

namespace {

constexpr int32_t kUnity = 16384;  // 1.0 in 14 fractional bits

// A scaled weight of this magnitude or more truncates to a value beyond 16 bits.
constexpr double kScaledWeightLimit = 32768.0;

int CompareRemainders(const TapRemainder *a, const TapRemainder *b) {
  if (a->Remainder < b->Remainder) return -1;
  if (a->Remainder > b->Remainder) return 1;
  return 0;
}

// Orders the list by ascending remainder. Equal remainders end up in the order these exact
// steps leave them, which decides ties and so keeps tables bit-identical across builds.
void SortByRemainder(std::vector<TapRemainder *> &list, int32_t left, int32_t right) {
  int32_t i;
  do {
    i = left;
    int32_t j = right;
    const TapRemainder *pivot = list[(left + right) / 2];
    do {
      while (CompareRemainders(list[i], pivot) < 0) ++i;
      while (CompareRemainders(list[j], pivot) > 0) --j;
      if (i <= j) {
        std::swap(list[i], list[j]);
        ++i;
        --j;
      }
    } while (i <= j);
    if (left < j) SortByRemainder(list, left, j);
    left = i;
  } while (i < right);
}

bool IsScalable(const double *weights, int32_t count, double sum) {
  if (!std::isfinite(sum) || sum == 0.0) return false;
  for (int32_t j = 0; j < count; ++j) {
    const double scaled = weights[j] * kUnity / sum;
    if (!(std::fabs(scaled) < kScaledWeightLimit)) return false;
  }
  return true;
}

void PutAllOnOneSlot(int16_t *coefficients, int32_t count, int32_t slot) {
  for (int32_t j = 0; j < count; ++j) coefficients[j] = 0;
  coefficients[slot] = kUnity;
}

}  // namespace

void QuantizeWeights(const double *weights, int16_t *coefficients,
                     std::vector<TapRemainder *> &sortList, int32_t count, TapRemainder *work,
                     int32_t fallbackSlot) {
  sortList.clear();
  double sum = 0.0;
  for (int32_t j = 0; j < count; ++j) sum += weights[j];
  if (!IsScalable(weights, count, sum)) {
    PutAllOnOneSlot(coefficients, count, fallbackSlot);
    return;
  }

  int32_t total = 0;
  for (int32_t j = 0; j < count; ++j) {
    const double scaled = weights[j] * kUnity / sum;
    coefficients[j] = static_cast<int16_t>(scaled);  // truncates toward zero
    work[j] = {scaled - coefficients[j], j};
    sortList.push_back(&work[j]);
    total += coefficients[j];
  }
  if (total == kUnity) return;

  SortByRemainder(sortList, 0, count - 1);
  if (total < kUnity) {
    // Round up the taps with the largest remainders, from the end of the sorted list. A
    // coefficient already at the 16-bit maximum cannot take the unit.
    for (int32_t n = 0; n < kUnity - total; ++n) {
      int16_t &coefficient = coefficients[sortList[count - 1 - n]->Tap];
      if (coefficient == INT16_MAX) {
        PutAllOnOneSlot(coefficients, count, fallbackSlot);
        return;
      }
      ++coefficient;
    }
  } else {
    // Round down the taps with the smallest remainders, from the start of the sorted list.
    for (int32_t n = 0; n < total - kUnity; ++n) --coefficients[sortList[n]->Tap];
  }
}
