// Which library each listed plug-in record came from, and the libraries taken out of use
// because their code faulted. A library out of use stays loaded until the process ends and none
// of its code runs again, not even to release what it made or to unload it. Used on the host's
// thread only.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

// Notes that `record` (a window-function or kernel record) belongs to `library`.
void RegisterRecordLibrary(const void *record, HMODULE library);
// The library a list registered `record` with, or null for a record no list holds.
HMODULE LibraryOfRecord(const void *record);

bool IsLibraryBroken(HMODULE library);
// How many libraries are out of use; it only grows.
size_t BrokenLibraryCount();
// False when the record's library is out of use; a record of no list is always usable.
bool IsRecordUsable(const void *record);

// Takes `library` out of use and writes the one debug-output line that names its file, the
// call that faulted and the exception code. A null library (a record of no list) is only
// reported.
void DisableLibrary(HMODULE library, const char *call, uint32_t code);
