#include "common/StackGuardPage.h"

#include <windows.h>

#include <cstdint>

namespace {

uintptr_t PageSize() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwPageSize;
}

bool IsAccessibleCommit(const MEMORY_BASIC_INFORMATION &region) {
  return region.State == MEM_COMMIT && (region.Protect & PAGE_NOACCESS) == 0;
}

}  // namespace

// Walks the stack's regions from its reserved bottom upwards to the first committed page that
// may be touched: the system keeps its guard page there. A page at or next to the one in use is
// never made the guard: the thread would fault at once.
bool RearmStackGuardPage() {
  volatile char marker = 0;
  const uintptr_t page = PageSize();
  const uintptr_t inUse = reinterpret_cast<uintptr_t>(&marker) & ~(page - 1);
  MEMORY_BASIC_INFORMATION region;
  if (VirtualQuery(const_cast<char *>(&marker), &region, sizeof region) == 0) return false;
  uintptr_t address = reinterpret_cast<uintptr_t>(region.AllocationBase);
  while (address < inUse) {
    if (VirtualQuery(reinterpret_cast<void *>(address), &region, sizeof region) == 0) return false;
    const uintptr_t base = reinterpret_cast<uintptr_t>(region.BaseAddress);
    if (IsAccessibleCommit(region)) {
      if ((region.Protect & PAGE_GUARD) != 0) return true;
      if (inUse - base <= page) return false;
      DWORD previous;
      return VirtualProtect(reinterpret_cast<void *>(base), page, PAGE_READWRITE | PAGE_GUARD,
                            &previous) != FALSE;
    }
    const uintptr_t next = base + region.RegionSize;
    if (next <= address) return false;  // a region that wraps or does not move the walk on
    address = next;
  }
  return false;
}
