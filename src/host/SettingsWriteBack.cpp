#include "host/SettingsWriteBack.h"

#include <string>

#include "common/PluginReport.h"
#include "host/FuncEntry.h"
#include "host/PluginState.h"
#include "host/SettingsFile.h"

namespace {

// A key that cannot be written whole keeps its value in the file; the debug output says so.
bool StoreSetting(const TSettingsFile &file, const std::string &key, const std::string &value) {
  if (file.Store(key, value)) return true;
  ReportToDebugOutput("Quorlin: " + key + " (" + std::to_string(value.size()) +
                      " bytes) was not written to " + file.Path() + ", which keeps its earlier value");
  return false;
}

}  // namespace

bool WriteBackSettings() {
  const TSettingsFile file = SettingsFileOf(ModulePath);
  if (!SettingsFileRead) {
    ReportToDebugOutput("Quorlin: " + file.Path() +
                        " could not be read at start-up, so nothing was written to it");
    return false;
  }
  bool written = StoreSetting(file, "FilterName", FilterTitle);
  written = StoreSetting(file, "PluginDir", PluginDirSetting) && written;
  if (WndFuncPlugins) {
    for (int32_t i = 0; i < WndFuncPlugins->Count(); ++i) {
      const WindowFuncInfo &info = *WndFuncPlugins->Item(i);
      if (!HasFuncEntryKey(info)) continue;
      written = StoreSetting(file, FuncEntryKey(info), FormatFuncEntry(FuncParams[i])) && written;
    }
  }
  written = StoreSetting(file, SizeListKey(YUY2Mode), SizeListText) && written;
  return written;
}
