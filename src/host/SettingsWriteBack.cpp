#include "host/SettingsWriteBack.h"

#include "host/FuncEntry.h"
#include "host/PluginState.h"
#include "host/SettingsFile.h"

bool WriteBackSettings() {
  const TSettingsFile file = SettingsFileOf(ModulePath);
  bool written = file.Write("FilterName", FilterTitle);
  written = file.Write("PluginDir", PluginDirSetting) && written;
  if (WndFuncPlugins) {
    for (int32_t i = 0; i < WndFuncPlugins->Count(); ++i) {
      written = file.Write(FuncEntryKey(*WndFuncPlugins->Item(i)), FormatFuncEntry(FuncParams[i])) &&
                written;
    }
  }
  written = file.Write(SizeListKey(YUY2Mode), SizeListText) && written;
  return written;
}
