#include "GuardedFrame.h"

#include <windows.h>

#include <cstdio>
#include <new>

namespace {

// Under Wine an unhandled fault starts the debugger and the process then exits with code 0,
// which a test runner takes for success. A fault on the guard page must fail the test program.
LONG WINAPI ExitOnUnhandledFault(EXCEPTION_POINTERS *info) {
  const EXCEPTION_RECORD &record = *info->ExceptionRecord;
  std::fprintf(stderr, "unhandled exception 0x%08lx at %p (address %p)\n",
               static_cast<unsigned long>(record.ExceptionCode), record.ExceptionAddress,
               record.NumberParameters >= 2
                   ? reinterpret_cast<void *>(record.ExceptionInformation[1])
                   : nullptr);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), 3);
  return EXCEPTION_EXECUTE_HANDLER;
}

size_t PageSize() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  return info.dwPageSize;
}

}  // namespace

GuardedFrame::GuardedFrame(size_t bytes) : size_(bytes) {
  static const bool faultsFail = (SetUnhandledExceptionFilter(&ExitOnUnhandledFault), true);
  (void)faultsFail;
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
