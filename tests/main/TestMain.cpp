// The main of every test program: GoogleTest's, plus a guard that turns an unhandled fault
// (an access past a guarded frame, say) into a failing exit code. Under Wine such a fault can
// otherwise end the process with code 0, which a test runner takes for success.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

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

}  // namespace

int main(int argc, char **argv) {
  SetUnhandledExceptionFilter(&ExitOnUnhandledFault);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
