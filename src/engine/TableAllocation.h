// The two blocks of a weight table, allocated once per build and owned by the caller after.
#pragma once

#include <cstdint>

#include "contracts/WeightTable.h"

// Allocates the pool (`poolBytes`, sized up front for the worst case) and `entryCount` entries,
// both 8-byte aligned, and stores them in `table` as soon as each exists, so the caller
// releases whatever was allocated even when a later step fails. Sizes beyond the address
// space raise the run-time's out-of-memory failure.
void AllocateTable(WeightTable *table, uint64_t poolBytes, uint64_t entryCount);
