// How the faulty test libraries fault: the test names one call and one kind of fault in the
// environment before the plug-in loads them (QUORLIN_FAULT_CALL, QUORLIN_FAULT_KIND); that call
// faults every time it is made, every other call works.
//   kinds: "access-violation", "divide-by-zero", "stack-overflow", "throw" (a C++ exception
//   that leaves the library, which links its runtime statically, as every shipped one does)
#pragma once

#include <windows.h>

#include <climits>
#include <cstring>
#include <stdexcept>
#include <string>

namespace fault_plan {

inline std::string Planned(const char *variable) {
  char value[64] = {};
  const DWORD length = GetEnvironmentVariableA(variable, value, sizeof value);
  return length < sizeof value ? std::string(value, length) : std::string();
}

__attribute__((noinline)) inline int Recurse(volatile char *caller, int depth) {
  volatile char frame[4096];
  frame[0] = static_cast<char>(caller[0] + 1);
  if (depth == INT_MAX) return frame[0];
  return Recurse(frame, depth + 1) + frame[1];
}

inline void Fault(const std::string &kind) {
  if (kind == "access-violation") {
    volatile int *volatile address = nullptr;
    *address = 1;
  } else if (kind == "divide-by-zero") {
    volatile int dividend = 7, zero = 0;
    volatile int quotient = dividend / zero;
    (void)quotient;
  } else if (kind == "stack-overflow") {
    volatile char start[1] = {0};
    Recurse(start, 0);
  } else if (kind == "throw") {
    throw std::runtime_error("thrown out of a library");
  }
}

// Faults in the planned way when `call` is the planned call.
inline void FaultIfPlanned(const char *call) {
  if (Planned("QUORLIN_FAULT_CALL") == call) Fault(Planned("QUORLIN_FAULT_KIND"));
}

}  // namespace fault_plan
