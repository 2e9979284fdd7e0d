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
  const uint64_t start = reinterpret_cast<uintptr_t>(address);
  uint64_t readable = 0;
  while (readable < wanted) {
    MEMORY_BASIC_INFORMATION region;
    const void *at = reinterpret_cast<const void *>(static_cast<uintptr_t>(start + readable));
    if (VirtualQuery(at, &region, sizeof region) == 0) break;
    if (region.State != MEM_COMMIT || !IsReadableProtection(region.Protect)) break;
    readable = reinterpret_cast<uintptr_t>(region.BaseAddress) + uint64_t{region.RegionSize} - start;
  }
  return static_cast<size_t>(std::min<uint64_t>(readable, wanted));
}

}  // namespace

bool IsReadableMemory(const void *address, size_t bytes) {
  return address != nullptr && ReadableBytesFrom(address, bytes) == bytes;
}

bool IsBoundedText(const char *text, size_t maxLength) {
  if (text == nullptr) return false;
  return std::memchr(text, 0, ReadableBytesFrom(text, maxLength + 1)) != nullptr;
}
