#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <climits>
#include <csignal>
#include <cstring>
#include <cstdlib>
#include <stdexcept>
#include <thread>
#include <vector>

#include "common/LibraryGuard.h"

namespace {

__attribute__((noinline)) int Recurse(volatile char *caller, int depth) {
  volatile char frame[4096];
  frame[0] = static_cast<char>(caller[0] + 1);
  if (depth == INT_MAX) return frame[0];
  return Recurse(frame, depth + 1) + frame[1];
}

void AccessViolation() {
  volatile int *volatile address = nullptr;
  *address = 1;
}
void DivideByZero() {
  volatile int dividend = 7, zero = 0;
  volatile int quotient = dividend / zero;
  (void)quotient;
}
void StackOverflow() {
  volatile char start[1] = {0};
  Recurse(start, 0);
}
void RaisedAndLeft() { RaiseException(0xE0001234, 0, 0, nullptr); }
void Abort() { std::abort(); }
void Throw() { throw std::runtime_error("escapes the call"); }

struct Fault {
  const char *name;
  void (*body)();
  uint32_t code;
};

const Fault kFaults[] = {
    {"access violation", AccessViolation, STATUS_ACCESS_VIOLATION},
    {"integer divide by zero", DivideByZero, STATUS_INTEGER_DIVIDE_BY_ZERO},
    {"stack overflow", StackOverflow, STATUS_STACK_OVERFLOW},
    {"exception raised and left unhandled", RaisedAndLeft, 0xE0001234},
    {"abort", Abort, kLibraryAbortCode},
    {"C++ throw", Throw, kCxxExceptionCode},
};

void *HandlerChainHead() {
  void *head;
  asm volatile("movl %%fs:0, %0" : "=r"(head));
  return head;
}

uint16_t X87ControlWord() {
  uint16_t word;
  asm volatile("fnstcw %0" : "=m"(word));
  return word;
}

// Leaves the x87 unit and MXCSR in the state a careless library might fault in.
void DisturbFloatingPointThen(void (*fault)()) {
  const uint16_t truncatingSingle = 0x0C7F;
  asm volatile("fldcw %0\n\tfld1\n\tfld1\n\tfld1" : : "m"(truncatingSingle));
  __builtin_ia32_ldmxcsr(0x7F80);  // round toward zero, flush to zero
  fault();
}

TEST(LibraryGuard, EachFaultEndsTheCallWithItsCodeTwiceInARow) {
  for (const Fault &fault : kFaults) {
    for (int round = 0; round < 2; ++round) {
      void *const chain = HandlerChainHead();
      auto body = [&] { fault.body(); };
      EXPECT_EQ(RunGuarded(body), fault.code) << fault.name << ", round " << round;
      EXPECT_EQ(HandlerChainHead(), chain) << fault.name;
    }
  }
}

TEST(LibraryGuard, FloatingPointStateIsTheCallersAfterAFault) {
  const uint16_t control = X87ControlWord();
  const unsigned mxcsr = __builtin_ia32_stmxcsr();
  auto body = [] { DisturbFloatingPointThen(AccessViolation); };
  ASSERT_EQ(RunGuarded(body), STATUS_ACCESS_VIOLATION);
  EXPECT_EQ(X87ControlWord(), control);
  EXPECT_EQ(__builtin_ia32_stmxcsr(), mxcsr);
  volatile double third = 1.0;
  third = third / 3.0;
  EXPECT_EQ(third * 3.0, 1.0);
}

// abort() must not show a message box while a guarded call runs; afterwards the process's own
// error mode is back, however the call ended.
TEST(LibraryGuard, AbortMessagesGoToStandardErrorOnlyDuringTheCall) {
  const int before = _set_error_mode(_REPORT_ERRMODE);
  ASSERT_NE(before, _OUT_TO_STDERR);
  for (const Fault &fault : {kFaults[0], kFaults[4]}) {
    int during = -1;
    auto body = [&] {
      during = _set_error_mode(_REPORT_ERRMODE);
      fault.body();
    };
    EXPECT_EQ(RunGuarded(body), fault.code);
    EXPECT_EQ(during, _OUT_TO_STDERR) << fault.name;
    EXPECT_EQ(_set_error_mode(_REPORT_ERRMODE), before) << fault.name;
  }
}

TEST(LibraryGuard, WhatTheCallHandlesItselfIsNoFault) {
  int result = 0;
  auto handlesItsOwn = [&] {
    auto inner = [] { RaisedAndLeft(); };
    OutputDebugStringA("a library's own debug line\n");
    result = RunGuarded(inner) == 0xE0001234 ? 42 : -1;
  };
  EXPECT_EQ(RunGuarded(handlesItsOwn), 0u);
  EXPECT_EQ(result, 42);
}

TEST(LibraryGuard, WorkerThreadsEachTakeTheirOwnFaults) {
  std::atomic<int> wrong{0};
  std::vector<std::thread> workers;
  for (int t = 0; t < 8; ++t) {
    workers.emplace_back([&wrong, t] {
      for (int i = 0; i < 50; ++i) {
        const Fault &fault = kFaults[(t + i) % 2];
        auto body = [&] { fault.body(); };
        if (RunGuarded(body) != fault.code) ++wrong;
        auto clean = [] {};
        if (RunGuarded(clean) != 0) ++wrong;
      }
    });
  }
  for (std::thread &worker : workers) worker.join();
  EXPECT_EQ(wrong.load(), 0);
}

DWORD faultSeenOutside = 0;
LONG WINAPI SkipIllegalInstruction(EXCEPTION_POINTERS *pointers) {
  faultSeenOutside = pointers->ExceptionRecord->ExceptionCode;
  pointers->ContextRecord->Eip += 2;  // past ud2
  return EXCEPTION_CONTINUE_EXECUTION;
}

TEST(LibraryGuard, AFaultAfterTheCallReachesTheProcessHandler) {
  auto body = [] { AccessViolation(); };
  ASSERT_EQ(RunGuarded(body), STATUS_ACCESS_VIOLATION);
  LPTOP_LEVEL_EXCEPTION_FILTER previous = SetUnhandledExceptionFilter(SkipIllegalInstruction);
  asm volatile("ud2");
  SetUnhandledExceptionFilter(previous);
  EXPECT_EQ(faultSeenOutside, static_cast<DWORD>(STATUS_ILLEGAL_INSTRUCTION));
}

}  // namespace

// An abort() outside every guarded call must end the process exactly as it would without the
// guard: exit code 3 from the runtime's default action, or whatever the handler that was
// installed before does. Each case runs in a child process; an access violation there ends it
// with the violation's code instead.
namespace abort_outside {

LONG WINAPI ExitWithExceptionCode(EXCEPTION_POINTERS *info) {
  TerminateProcess(GetCurrentProcess(), info->ExceptionRecord->ExceptionCode);
  return EXCEPTION_EXECUTE_HANDLER;
}

void InstallGuard() {
  auto nothing = [] {};
  RunGuarded(nothing);
}

void SetChainHead(const void *record) {
  asm volatile("movl %0, %%fs:0" : : "r"(record) : "memory");
}

void PlainAbort() {
  InstallGuard();
  std::abort();
}

void AbortWhileAnotherThreadIsGuarded() {
  static HANDLE entered = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  std::thread([] {
    auto blockForever = [] {
      SetEvent(entered);
      Sleep(INFINITE);
    };
    RunGuarded(blockForever);
  }).detach();
  WaitForSingleObject(entered, INFINITE);
  std::abort();
}

void __cdecl ExitWith42(int) { _exit(42); }

void AbortWithAHandlerInstalledBefore() {
  std::signal(SIGABRT, ExitWith42);
  InstallGuard();
  std::abort();
}

// abort() with a chain whose second record is `next`, behind a sound first record.
void AbortWithChainTo(uintptr_t next) {
  InstallGuard();
  EXCEPTION_REGISTRATION_RECORD first;
  first.Next = reinterpret_cast<EXCEPTION_REGISTRATION_RECORD *>(next);
  first.Handler = nullptr;
  SetChainHead(&first);
  std::abort();
}

void ChainWrapsAtTheTop() { AbortWithChainTo(0xFFFFFFFC); }
void ChainEndsInsideTheTopRecord() { AbortWithChainTo(0xFFFFFFF8); }
void ChainLeavesTheStack() {
  static EXCEPTION_REGISTRATION_RECORD onTheHeap = {
      reinterpret_cast<EXCEPTION_REGISTRATION_RECORD *>(0xFFFFFFFC), nullptr};
  AbortWithChainTo(reinterpret_cast<uintptr_t>(&onTheHeap));
}
void ChainMisaligned() {
  alignas(4) unsigned char ones[32];
  std::memset(ones, 0xFF, sizeof ones);  // read unaligned: Next 0xFFFFFFFF, Handler likewise
  AbortWithChainTo(reinterpret_cast<uintptr_t>(ones) + 1);
}
void ChainLoops() {
  InstallGuard();
  EXCEPTION_REGISTRATION_RECORD looping;
  looping.Next = &looping;
  looping.Handler = nullptr;
  SetChainHead(&looping);
  std::abort();
}

struct Case {
  const char *name;
  void (*run)();
  int exitCode;
};

const Case kCases[] = {
    {"no guarded call anywhere", PlainAbort, 3},
    {"a guarded call on another thread", AbortWhileAnotherThreadIsGuarded, 3},
    {"the handler installed before the guard's", AbortWithAHandlerInstalledBefore, 42},
    {"a chain record that wraps past the top of memory", ChainWrapsAtTheTop, 3},
    {"a chain record ending at the top of memory", ChainEndsInsideTheTopRecord, 3},
    {"a chain record outside the stack", ChainLeavesTheStack, 3},
    {"a misaligned chain record", ChainMisaligned, 3},
    {"a chain that loops", ChainLoops, 3},
};

TEST(LibraryGuardDeathTest, AbortOutsideAGuardedCallGoesOnAsWithoutTheGuard) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  for (const Case &c : kCases) {
    EXPECT_EXIT(
        {
          SetUnhandledExceptionFilter(ExitWithExceptionCode);
          c.run();
        },
        ::testing::ExitedWithCode(c.exitCode), "")
        << c.name;
  }
}

}  // namespace abort_outside
