// Calls into helper libraries (window functions, kernels) that end the call, not the process,
// when the library's code faults: an access violation, a divide by zero, a stack overflow, any
// exception the library leaves unhandled, and a C++ exception that escapes a library linked
// with its own static runtime (that library's runtime ends it in abort()).
//
// The guard is a frame-based handler: it sits on the thread's handler chain (FS:[0]) for the
// length of the call, so it sees only what the library's own handlers let through, and nothing
// that happens outside a guarded call. Safe on any thread, and nested guards take the
// innermost call's fault.
#pragma once

#include <cstdint>

// Codes RunGuarded returns besides the processor's own (STATUS_ACCESS_VIOLATION, ...).
constexpr uint32_t kLibraryAbortCode = 0x40000015;  // the library called abort()
constexpr uint32_t kCxxExceptionCode = 0xE06D7363;  // a C++ exception reached the guard itself

// Runs body(context). Returns 0 when it returned, else the code of the exception that ended it.
// After a fault the x87 unit and MXCSR are as they were at the call, and after a stack overflow
// the thread's stack guard page is armed again, so the thread may run library code again.
uint32_t RunGuarded(void (*body)(void *context), void *context);

template <typename Body>
uint32_t RunGuarded(Body &body) {
  return RunGuarded([](void *context) { (*static_cast<Body *>(context))(); }, &body);
}
