#include "plugins/WindowFuncPlugin.h"

#include "common/PluginRecordLookup.h"

namespace {

// A record the list can hand out: the dialog shows its Name and the setters call all four
// functions without checking them.
bool IsCompleteRecord(const WindowFuncInfo &info) {
  return info.Name != nullptr && info.Create != nullptr && info.Evaluate != nullptr &&
         info.GetRadius != nullptr && info.Release != nullptr;
}

// The library's records for index 0, 1, ... up to the first null; incomplete records are left out.
std::vector<const WindowFuncInfo *> CompleteRecordsOf(GetWindowFuncPluginInfoFunc getInfo) {
  std::vector<const WindowFuncInfo *> records;
  for (int32_t index = 0;; ++index) {
    const WindowFuncInfo *info = getInfo(index);
    if (info == nullptr) break;
    if (IsCompleteRecord(*info)) records.push_back(info);
  }
  return records;
}

}  // namespace

void TWndFuncPluginList::LoadPlugins(const char *directory) {
  ForEachPluginLibrary(directory, [this](HMODULE module) {
    auto getInfo = reinterpret_cast<GetWindowFuncPluginInfoFunc>(
        reinterpret_cast<void *>(GetProcAddress(module, "GetWindowFuncPluginInfo")));
    if (getInfo == nullptr) return false;
    const std::vector<const WindowFuncInfo *> records = CompleteRecordsOf(getInfo);
    if (records.empty()) return false;
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
