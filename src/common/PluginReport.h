// Where the plug-in says why it left a library or one of its records out, or kept a setting it
// could not write. Start-up and shut-down show no message box, so each line goes to the system's debug output (OutputDebugStringA), where a
// debug viewer or the resizer (which prints it) shows it:
//   "Quorlin: skipped <library path>: <reason>"
#pragma once

#include <windows.h>

#include <string>

void ReportSkippedPlugin(HMODULE library, const std::string &reason);

// Any other line for the user, such as a setting that could not be written at shut-down.
void ReportToDebugOutput(const std::string &line);
