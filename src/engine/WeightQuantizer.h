// Turns the real weights of one block into 16-bit coefficients (14 fractional bits) that sum to
// exactly 16384, rounding the taps with the largest remainders up (or the smallest down).
#pragma once

#include <cstdint>
#include <vector>

// Work record of QuantizeWeights: what truncation left of one tap's scaled weight.
struct TapRemainder {
  double Remainder;  // scaled weight minus its truncated coefficient, strictly inside (-1, 1)
  int32_t Tap;       // slot the record belongs to
};

// Quantizes `count` weights (slot order, padding slots included) into `coefficients`.
// `sortList` is the caller's list, reused from call to call (emptied first); `work` holds
// `count` records. A block that cannot be scaled to 16384 — its weights sum to 0 or to
// something not finite, or a coefficient would not fit 16 bits — gets all of its 16384 on
// `fallbackSlot` (the tap nearest the output's centre) and 0 elsewhere.
void QuantizeWeights(const double *weights, int16_t *coefficients,
                     std::vector<TapRemainder *> &sortList, int32_t count, TapRemainder *work,
                     int32_t fallbackSlot);
