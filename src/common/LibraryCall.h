// Calls from the host's thread into a plug-in library, guarded (LibraryGuard.h) and kept away
// from libraries out of use (LibraryHealth.h).
#pragma once

#include <windows.h>

#include <cstdint>

#include "common/LibraryGuard.h"
#include "common/LibraryHealth.h"

// Thrown when a call into a library faulted (the library is out of use from then on), or was
// not made because the library already was. Code is the exception code, 0 for a call not made.
struct LibraryFault {
  const void *Record;  // the record whose function was called; null while a list loads
  const char *Call;
  uint32_t Code;
};

// Runs `body`, a call of `call` into `library`. False when the library is out of use, before
// or because of this call (then `faultCode`, if given, is the exception code or 0 for a call
// not made); a fault takes it out of use and reports it.
template <typename Body>
bool TryCallLibrary(HMODULE library, const char *call, Body &&body, uint32_t *faultCode = nullptr) {
  if (IsLibraryBroken(library)) return false;
  const uint32_t code = RunGuarded(body);
  if (faultCode != nullptr) *faultCode = code;
  if (code == 0) return true;
  DisableLibrary(library, call, code);
  return false;
}

// As TryCallLibrary, for a function reached through `record`, but a call that did not complete
// throws LibraryFault.
template <typename Body>
void CallLibrary(HMODULE library, const void *record, const char *call, Body &&body) {
  uint32_t code = 0;
  if (!TryCallLibrary(library, call, body, &code)) throw LibraryFault{record, call, code};
}
