#include "common/ReadableMemory.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

bool IsReadableProtection(DWORD protect) {
  if ((protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0) return false;
  const DWORD readable = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                         PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
  return (protect & readable) != 0;
}

// How many of the `wanted` bytes from `address` on can be read, region by region, stopping at
// the first region that cannot.
size_t ReadableBytesFrom(const void *address, size_t wanted) {
  const uintptr_t start = reinterpret_cast<uintptr_t>(address);
  // Bytes from `start` to the end of the address space: a region never reaches past it, and
  // an address past it would wrap around to the bottom of memory.
  const uint64_t toEnd = uint64_t{UINTPTR_MAX} - start + 1;
  uint64_t readable = 0;
  while (readable < wanted && readable < toEnd) {
    MEMORY_BASIC_INFORMATION region;
    const void *at = reinterpret_cast<const void *>(start + static_cast<uintptr_t>(readable));
    if (VirtualQuery(at, &region, sizeof region) == 0) break;
    if (region.State != MEM_COMMIT || !IsReadableProtection(region.Protect)) break;
    const uint64_t regionEnd =
        uint64_t{reinterpret_cast<uintptr_t>(region.BaseAddress)} + region.RegionSize;
    if (regionEnd <= start + readable) break;  // a region that does not move the walk on
    readable = regionEnd - start;
  }
  return static_cast<size_t>(std::min<uint64_t>(readable, wanted));
}

}  // namespace

bool IsReadableMemory(const void *address, size_t bytes) {
  return address != nullptr && ReadableBytesFrom(address, bytes) == bytes;
}

bool IsBoundedText(const char *text, size_t maxLength) {
  if (text == nullptr) return false;
  const size_t bound = maxLength < SIZE_MAX ? maxLength + 1 : maxLength;
  return std::memchr(text, 0, ReadableBytesFrom(text, bound)) != nullptr;
}
