#include "resizer/Interruption.h"

#include <windows.h>

#include <atomic>

namespace quorlin_resizer {

namespace {

std::atomic<bool> interrupted{false};

// Runs on a thread of its own. Returning FALSE hands the event to the system's default handler,
// which ends the process.
BOOL WINAPI RecordInterruption(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  return interrupted.exchange(true) ? FALSE : TRUE;
}

}  // namespace

void CatchInterruptions() { SetConsoleCtrlHandler(RecordInterruption, TRUE); }

bool Interrupted() { return interrupted.load(); }

}  // namespace quorlin_resizer
