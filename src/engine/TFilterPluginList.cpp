#include "engine/TFilterPluginList.h"

#include <string>

#include "common/LibraryCall.h"
#include "common/PluginLimits.h"
#include "common/PluginRecordLookup.h"
#include "common/PluginReport.h"
#include "common/ReadableMemory.h"

namespace {

// Why the engine cannot run a record, or null when it can: every routine and work-size function
// present, a Name to list and look up, and tile sizes and step the engine can divide by.
const char *KernelFault(const FilterPluginInfo *info) {
  if (!IsReadableMemory(info, sizeof *info)) return "the record is not readable memory";
  if (!IsBoundedText(info->Name, kMaxPluginTextBytes))
    return kUnboundedName;
  const void *const required[] = {
      reinterpret_cast<const void *>(info->GetWorkSize1),
      reinterpret_cast<const void *>(info->GetWorkSize2),
      reinterpret_cast<const void *>(info->ResizeH),
      reinterpret_cast<const void *>(info->ResizeV),
      reinterpret_cast<const void *>(info->ResizeHSep),
      reinterpret_cast<const void *>(info->ResizeVSep),
      reinterpret_cast<const void *>(info->ResizeHV),
      reinterpret_cast<const void *>(info->ResizeHVSep)};
  for (const void *pointer : required) {
    if (pointer == nullptr) return "a routine of the record is missing";
  }
  if (!IsUsableKernel(*info)) return "its tile size or vertical step is not positive";
  return nullptr;
}

}  // namespace

void TFilterPluginList::LoadPlugins(const char *directory, int32_t yuy2) {
  const char *exportName = yuy2 != 0 ? "GetYUY2FilterPluginInfo2" : "GetFilterPluginInfo2";
  ForEachPluginLibrary(directory, [this, exportName](HMODULE module) {
    auto getInfo = reinterpret_cast<GetFilterPluginInfoFunc>(
        reinterpret_cast<void *>(GetProcAddress(module, exportName)));
    if (getInfo == nullptr) return false;
    const FilterPluginInfo *info = nullptr;
    if (!TryCallLibrary(module, exportName, [&] { info = getInfo(); })) return false;
    if (info == nullptr) return false;
    if (const char *fault = KernelFault(info)) {
      ReportSkippedPlugin(module, std::string("kernel: ") + fault);
      return false;
    }
    RegisterRecordLibrary(info, module);
    // Once the handle is kept the record must follow without a failure in between.
    items_.reserve(items_.size() + 1);
    libraries_.Add(module);
    items_.push_back(info);
    return true;
  });
}

int32_t TFilterPluginList::IndexOfName(const char *name) const {
  return IndexOfRecordName(items_, name);
}
