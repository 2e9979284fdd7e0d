#include "harness/FrameBuffer.h"

#include <windows.h>

#include <new>

namespace quorlin_harness {

namespace {

size_t PageSize() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwPageSize;
}

}  // namespace

FrameBuffer::FrameBuffer(size_t bytes, size_t alignment) : size_(bytes) {
  const size_t page = PageSize();
  const size_t usable = (bytes + alignment - 1 + page - 1) / page * page;
  allocation_ = VirtualAlloc(nullptr, usable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (!allocation_) throw std::bad_alloc();
  uint8_t *const guard = static_cast<uint8_t *>(allocation_) + usable;
  DWORD oldProtection;
  VirtualProtect(guard, page, PAGE_NOACCESS, &oldProtection);
  const uintptr_t start = reinterpret_cast<uintptr_t>(guard) - bytes;
  data_ = reinterpret_cast<uint8_t *>(start & ~(uintptr_t{alignment} - 1));
}

FrameBuffer::~FrameBuffer() { VirtualFree(allocation_, 0, MEM_RELEASE); }

}  // namespace quorlin_harness
