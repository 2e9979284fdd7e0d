#include "common/PluginReport.h"

namespace {

std::string LibraryPath(HMODULE library) {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(library, path, MAX_PATH);
  return std::string(path, length);
}

}  // namespace

void ReportSkippedPlugin(HMODULE library, const std::string &reason) {
  ReportToDebugOutput("Quorlin: skipped " + LibraryPath(library) + ": " + reason);
}

void ReportToDebugOutput(const std::string &line) { OutputDebugStringA((line + "\n").c_str()); }
