// Puts the x87 unit into 53-bit (double) precision for the lifetime of the object and restores
// the caller's control word afterwards. Weight tables must come out the same whatever precision
// the host left the unit in, and window-function libraries may compute on the x87 unit.
#pragma once

#include <cstdint>

class X87DoublePrecision {
 public:
  X87DoublePrecision() {
    asm volatile("fnstcw %0" : "=m"(saved_));
    // Precision control (bits 8-9) = 10b, double; rounding and exception masks stay as they were.
    uint16_t doublePrecision = static_cast<uint16_t>((saved_ & 0xFCFF) | 0x0200);
    asm volatile("fldcw %0" : : "m"(doublePrecision));
  }
  ~X87DoublePrecision() { asm volatile("fldcw %0" : : "m"(saved_)); }
  X87DoublePrecision(const X87DoublePrecision &) = delete;
  X87DoublePrecision &operator=(const X87DoublePrecision &) = delete;

  static uint16_t ControlWord() {
    uint16_t word;
    asm volatile("fnstcw %0" : "=m"(word));
    return word;
  }

 private:
  uint16_t saved_;
};
