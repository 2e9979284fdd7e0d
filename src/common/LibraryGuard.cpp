#include "common/LibraryGuard.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <csignal>
#include <cstdlib>

#include "common/StackGuardPage.h"

namespace {

// One guarded call: its record on the thread's handler chain, where the call resumes after a
// fault, what ended it, and the floating-point state to put back then.
struct GuardFrame {
  EXCEPTION_REGISTRATION_RECORD Record;  // first: the handler is given the record's address
  void *Resume[5];                       // the __builtin_setjmp buffer of RunGuarded
  volatile uint32_t Code;
  uint32_t Mxcsr;
  uint16_t X87Control;
};

// The thread's information block starts at FS:0 and holds its own address at FS:0x18; its
// first field is the head of the handler chain.
const NT_TIB &ThreadTib() {
  const NT_TIB *tib;
  asm volatile("movl %%fs:0x18, %0" : "=r"(tib));
  return *tib;
}

EXCEPTION_REGISTRATION_RECORD *HandlerChain() {
  EXCEPTION_REGISTRATION_RECORD *head;
  asm volatile("movl %%fs:0, %0" : "=r"(head));
  return head;
}

void SetHandlerChain(EXCEPTION_REGISTRATION_RECORD *record) {
  asm volatile("movl %0, %%fs:0" : : "r"(record) : "memory");
}

[[noreturn]] void ResumeAfterFault(GuardFrame *frame, uint32_t code) {
  frame->Code = code;
  __builtin_longjmp(frame->Resume, 1);
}

// Called by the system for an exception that every handler nearer the fault left alone. The
// first, searching pass takes it; the unwinding pass of someone else's exception is not ours.
EXCEPTION_DISPOSITION __cdecl TakeLibraryException(EXCEPTION_RECORD *record, void *establisher,
                                                   CONTEXT *, void *) {
  if ((record->ExceptionFlags & (EXCEPTION_UNWINDING | EXCEPTION_EXIT_UNWIND)) != 0)
    return ExceptionContinueSearch;
  ResumeAfterFault(static_cast<GuardFrame *>(establisher), record->ExceptionCode);
}

// A record the chain walk may read: inside the thread's stack as the thread block gives it,
// all of it, and aligned as the system keeps records. Compared as distances from the stack's
// ends, so that no address near the top of memory wraps around: the chain's end marker is
// 0xFFFFFFFF, and a broken chain may point anywhere.
bool IsOnThisStack(const EXCEPTION_REGISTRATION_RECORD *record, const NT_TIB &tib) {
  const uintptr_t address = reinterpret_cast<uintptr_t>(record);
  const uintptr_t limit = reinterpret_cast<uintptr_t>(tib.StackLimit);
  const uintptr_t base = reinterpret_cast<uintptr_t>(tib.StackBase);
  if (limit >= base || address < limit || address >= base) return false;
  return base - address >= sizeof *record && address % alignof(EXCEPTION_REGISTRATION_RECORD) == 0;
}

// The innermost guarded call of the current thread, or null outside any. Records sit ever
// further up the stack towards the chain's end, so a record that does not lie above the one
// before it ends the walk too: a looping chain is not followed round.
GuardFrame *InnermostGuard() {
  const NT_TIB &tib = ThreadTib();
  uintptr_t below = 0;
  for (EXCEPTION_REGISTRATION_RECORD *record = tib.ExceptionList;
       reinterpret_cast<uintptr_t>(record) > below && IsOnThisStack(record, tib);
       record = record->Next) {
    if (record->Handler == reinterpret_cast<PEXCEPTION_ROUTINE>(TakeLibraryException))
      return reinterpret_cast<GuardFrame *>(record);
    below = reinterpret_cast<uintptr_t>(record);
  }
  return nullptr;
}

using SignalHandler = void(__cdecl *)(int);
SignalHandler previousAbortHandler = SIG_DFL;

void __cdecl OnAbort(int signal);

// An abort outside any guarded call goes on as it would without OnAbort: the handler found at
// installation runs with the table as raise() left it (the default), or the default action
// ends the process. Should that handler return, whatever it left in the table becomes the one
// to pass on to next time, and OnAbort takes its place again.
void PassOnAbort(int signal) {
  const SignalHandler previous = previousAbortHandler;
  if (previous == SIG_DFL) {
    std::raise(signal);  // the table holds the default now: the process ends here
    return;
  }
  if (previous != SIG_IGN) previous(signal);
  const SignalHandler left = std::signal(SIGABRT, OnAbort);
  if (left != OnAbort && left != SIG_ERR) previousAbortHandler = left;
}

// abort() raises SIGABRT on the thread that called it, through the C runtime's signal table
// that every module using msvcrt.dll shares; a library linked with its own static C++ runtime
// ends there when one of its exceptions finds no handler. Inside a guarded call the call ends
// instead; anywhere else the signal is passed on.
void __cdecl OnAbort(int signal) {
  if (GuardFrame *frame = InnermostGuard()) {
    std::signal(SIGABRT, OnAbort);  // raising put the default back for the length of this call
    ResumeAfterFault(frame, kLibraryAbortCode);
  }
  PassOnAbort(signal);
}

// Puts OnAbort into the signal table from the first guarded call on, and the handler it found
// back when the module unloads: the table outlives the module, and an entry pointing into
// unloaded code would crash the next abort() anywhere in the process.
class AbortHandlerInstallation {
 public:
  AbortHandlerInstallation() {
    const SignalHandler previous = std::signal(SIGABRT, OnAbort);
    installed_ = previous != SIG_ERR;
    if (installed_) previousAbortHandler = previous;
  }
  ~AbortHandlerInstallation() {
    if (!installed_) return;
    const SignalHandler current = std::signal(SIGABRT, previousAbortHandler);
    if (current != OnAbort) std::signal(SIGABRT, current);  // someone else's since: theirs stays
  }
  AbortHandlerInstallation(const AbortHandlerInstallation &) = delete;
  AbortHandlerInstallation &operator=(const AbortHandlerInstallation &) = delete;

 private:
  bool installed_;
};

// Windows' msvcrt.dll abort() shows "abnormal program termination" in a message box, in a
// process without a console, before it raises SIGABRT (Wine's shows and prints nothing). While
// any guarded call runs, the C runtime's error mode sends that text to the standard error
// instead; the last call to end puts back the mode the process had when the first one began.
std::atomic<int> guardedCallsRunning{0};
const int hostErrorMode = _set_error_mode(_REPORT_ERRMODE);

// Called at the start and at the end of every guarded call, on any thread, whichever way it ends.
void BeginQuietAbort() {
  if (guardedCallsRunning.fetch_add(1) == 0) _set_error_mode(_OUT_TO_STDERR);
}
void EndQuietAbort() {
  if (guardedCallsRunning.fetch_sub(1) == 1) _set_error_mode(hostErrorMode);
}

// Kept out of RunGuarded: a C++ exception of the body stops here, in the guarded call's frame.
__attribute__((noinline)) void RunBody(void (*body)(void *), void *context, GuardFrame *frame) {
  try {
    body(context);
  } catch (...) {
    frame->Code = kCxxExceptionCode;
  }
}

void SaveFloatingPoint(GuardFrame *frame) {
  asm volatile("fnstcw %0" : "=m"(frame->X87Control));
  frame->Mxcsr = __builtin_ia32_stmxcsr();
}

// A faulting library may leave x87 registers in use, exceptions pending or other modes set.
void RestoreFloatingPoint(const GuardFrame &frame) {
  asm volatile("fninit\n\tfldcw %0" : : "m"(frame.X87Control));
  __builtin_ia32_ldmxcsr(frame.Mxcsr);
}

}  // namespace

__attribute__((noinline)) uint32_t RunGuarded(void (*body)(void *), void *context) {
  static const AbortHandlerInstallation abortHandler;
  GuardFrame frame;
  frame.Code = 0;
  frame.Record.Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(TakeLibraryException);
  frame.Record.Next = HandlerChain();
  SaveFloatingPoint(&frame);
  BeginQuietAbort();
  if (__builtin_setjmp(frame.Resume) == 0) {
    SetHandlerChain(&frame.Record);
    RunBody(body, context, &frame);
  }
  // Whatever records the library left above ours go with it.
  SetHandlerChain(frame.Record.Next);
  EndQuietAbort();
  const uint32_t code = frame.Code;
  if (code == 0) return 0;
  RestoreFloatingPoint(frame);
  if (code == STATUS_STACK_OVERFLOW) RearmStackGuardPage();
  return code;
}
