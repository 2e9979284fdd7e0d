#include "common/LibraryHealth.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "common/PluginReport.h"

namespace {

std::map<const void *, HMODULE> &RecordLibraries() {
  static std::map<const void *, HMODULE> libraries;
  return libraries;
}

std::vector<HMODULE> &BrokenLibraries() {
  static std::vector<HMODULE> broken;
  return broken;
}

std::string FaultText(const char *call, uint32_t code) {
  char text[96];
  std::snprintf(text, sizeof text, "%s raised exception 0x%08lX", call,
                static_cast<unsigned long>(code));
  return text;
}

}  // namespace

void RegisterRecordLibrary(const void *record, HMODULE library) {
  RecordLibraries()[record] = library;
}

HMODULE LibraryOfRecord(const void *record) {
  const auto found = RecordLibraries().find(record);
  return found == RecordLibraries().end() ? nullptr : found->second;
}

bool IsLibraryBroken(HMODULE library) {
  const std::vector<HMODULE> &broken = BrokenLibraries();
  return library != nullptr && std::find(broken.begin(), broken.end(), library) != broken.end();
}

size_t BrokenLibraryCount() { return BrokenLibraries().size(); }

bool IsRecordUsable(const void *record) { return !IsLibraryBroken(LibraryOfRecord(record)); }

void DisableLibrary(HMODULE library, const char *call, uint32_t code) {
  if (library != nullptr && !IsLibraryBroken(library)) BrokenLibraries().push_back(library);
  ReportSkippedPlugin(library, FaultText(call, code));
}
