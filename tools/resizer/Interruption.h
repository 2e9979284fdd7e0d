// Ctrl-C and Ctrl-Break during a run: the first asks the run to stop after the frames under way,
// so that it can end with its own status and message; a second one ends the process at once,
// as the system's default does (the output's temporary file goes with it, OutputFile.h).
#pragma once

namespace quorlin_resizer {

// Installs the console handler that records an interruption. Call once, before the run.
void CatchInterruptions();
// Whether Ctrl-C or Ctrl-Break was pressed since CatchInterruptions.
bool Interrupted();

// The exit status of a run stopped by Ctrl-C, as shells report a program ended by SIGINT.
constexpr int kInterruptedStatus = 130;

}  // namespace quorlin_resizer
