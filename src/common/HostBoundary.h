// The one place where exceptions stop before they reach the host or a plug-in library.
// Every exported function and every host hook runs its body through GuardHostCall.
#pragma once

#include <utility>

// Runs `body` and returns its result; any exception becomes `onFailure` (for the host's hooks
// its false, 0). Nothing thrown inside ever unwinds into the caller's frames.
template <typename Result, typename Body>
Result GuardHostCall(Result onFailure, Body &&body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return onFailure;
  }
}
