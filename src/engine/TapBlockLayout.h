// Where the taps of one output position land in its block of coefficient slots.
//
// The block starts at the even source position lo - par (lo = the first tap inside the line)
// and ends with a whole pair. Taps before the first sample add onto sample 0, taps after the
// last sample add onto sample S - 1: the edge samples are in effect repeated outward.
#pragma once

#include <cstdint>

class TapBlockLayout {
 public:
  TapBlockLayout(int32_t first, int32_t last, int32_t srcLen);

  int32_t Lo() const { return lo_; }              // first source position used
  int32_t SlotCount() const { return slotCount_; }  // M, a whole number of pairs
  int32_t PairCount() const { return slotCount_ / 2; }

  // Zeroes slot 0, which taps at or before sample 0 add to, and the padding slot. Every
  // other slot is set by its tap first: the window always contains sample S - 1 when it
  // reaches past the line, so the taps beyond add onto a slot already set.
  void ClearSlots(double *slots) const;
  // Puts tap k's weight w into its slot by the edge rule.
  void Place(double *slots, int32_t k, double w) const;
  // The slot of source sample `sample`, moved inside the block's real positions.
  int32_t SlotNearest(int32_t sample) const;

 private:
  int32_t srcLen_;
  int32_t lo_;
  int32_t par_;
  int32_t span_;
  int32_t slotCount_;
};
