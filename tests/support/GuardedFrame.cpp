#include "GuardedFrame.h"

#include <windows.h>

#include <new>

namespace {

size_t PageSize() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwPageSize;
}

}  // namespace

GuardedFrame::GuardedFrame(size_t bytes) : size_(bytes) {
  const size_t page = PageSize();
  const size_t dataPages = (bytes + page - 1) / page * page;
  reservation_ = VirtualAlloc(nullptr, dataPages + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (!reservation_) throw std::bad_alloc();
  uint8_t *guard = static_cast<uint8_t *>(reservation_) + dataPages;
  DWORD previous;
  if (!VirtualProtect(guard, page, PAGE_NOACCESS, &previous)) {
    VirtualFree(reservation_, 0, MEM_RELEASE);
    throw std::bad_alloc();
  }
  data_ = guard - bytes;
}

GuardedFrame::~GuardedFrame() { VirtualFree(reservation_, 0, MEM_RELEASE); }
