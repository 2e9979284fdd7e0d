#include "plugins/WindowFuncPlugin.h"

#include <string>

#include "common/LibraryCall.h"
#include "common/PluginLimits.h"
#include "common/PluginRecordLookup.h"
#include "common/PluginReport.h"
#include "common/ReadableMemory.h"

namespace {

// Why the list cannot hand out a record, or null when it can: the dialog shows its Name and
// ParamLabel, the settings file keys on its Name, and the setters call all four functions
// without checking them.
const char *RecordFault(const WindowFuncInfo *info) {
  if (!IsReadableMemory(info, sizeof *info)) return "the record is not readable memory";
  if (!IsBoundedText(info->Name, kMaxPluginTextBytes))
    return kUnboundedName;
  if (info->ParamLabel != nullptr && !IsBoundedText(info->ParamLabel, kMaxPluginTextBytes))
    return kUnboundedLabel;
  if (info->Create == nullptr || info->Evaluate == nullptr || info->GetRadius == nullptr ||
      info->Release == nullptr)
    return "a function of the record is missing";
  return nullptr;
}

// The library's usable records for index 0, 1, ... up to the first null. False when the
// library lists more than kMaxFunctionsPerLibrary functions (its list may never end), or when
// asking for a record faulted.
bool ReadRecords(HMODULE module, GetWindowFuncPluginInfoFunc getInfo,
                 std::vector<const WindowFuncInfo *> *records) {
  for (int32_t index = 0;; ++index) {
    const WindowFuncInfo *info = nullptr;
    if (!TryCallLibrary(module, "GetWindowFuncPluginInfo", [&] { info = getInfo(index); }))
      return false;
    if (info == nullptr) return true;
    if (index == kMaxFunctionsPerLibrary) {
      ReportSkippedPlugin(module, kTooManyFunctions);
      return false;
    }
    if (const char *fault = RecordFault(info))
      ReportSkippedPlugin(module, "window function " + std::to_string(index) + ": " + fault);
    else
      records->push_back(info);
  }
}

}  // namespace

void TWndFuncPluginList::LoadPlugins(const char *directory) {
  ForEachPluginLibrary(directory, [this](HMODULE module) {
    auto getInfo = reinterpret_cast<GetWindowFuncPluginInfoFunc>(
        reinterpret_cast<void *>(GetProcAddress(module, "GetWindowFuncPluginInfo")));
    if (getInfo == nullptr) return false;
    std::vector<const WindowFuncInfo *> records;
    if (!ReadRecords(module, getInfo, &records) || records.empty()) return false;
    for (const WindowFuncInfo *record : records) RegisterRecordLibrary(record, module);
    // Once the handle is kept the records must follow without a failure in between.
    items_.reserve(items_.size() + records.size());
    libraries_.Add(module);
    items_.insert(items_.end(), records.begin(), records.end());
    return true;
  });
}

void TWndFuncPluginList::Delete(int32_t index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
}

int32_t TWndFuncPluginList::IndexOfName(const char *name) const {
  return IndexOfRecordName(items_, name);
}
