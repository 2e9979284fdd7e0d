#include "host/StartUp.h"

#include <cstring>
#include <string>

#include "host/FuncEntry.h"
#include "host/ModulePath.h"
#include "host/PluginState.h"
#include "host/SettingsFile.h"

namespace {

constexpr char kOwnSection[] = "Quorlin";
constexpr char kOwnTitle[] = "カルメリオ";
constexpr char kDefaultPluginDir[] = "DLL";
constexpr char kDefaultSizeList[] = "512x384";

// The product's own title for the module "Quorlin.auf" (exact letter case); any other module
// name is its own title.
std::string DefaultTitle(const std::string &section) {
  return section == kOwnSection ? kOwnTitle : section;
}

// A repeated start-up replaces the lists. The engine first lets go of its setter, whose
// window-function instances belong to the old libraries, and of the old kernel record.
void ReleasePluginLists() {
  if (Engine) {
    Engine->SetWeightSetter(nullptr);
    Engine->SetKernel(nullptr);
  }
  WndFuncPlugins.reset();
  FilterPlugins.reset();
}

void LoadPluginLists(const std::string &pluginDirectory) {
  WndFuncPlugins = std::make_unique<TWndFuncPluginList>();
  WndFuncPlugins->LoadPlugins(pluginDirectory.c_str());
  FilterPlugins = std::make_unique<TFilterPluginList>();
  FilterPlugins->LoadPlugins(pluginDirectory.c_str(), YUY2Mode);
}

// Reads every listed function's entry. A disabled function leaves the list, and the one that
// moves into its place is read next.
void ReadFuncEntries(const TSettingsFile &file) {
  FuncParams.assign(WndFuncPlugins->Count(), FuncParamPair{});
  int32_t index = 0;
  while (index < WndFuncPlugins->Count()) {
    const WindowFuncInfo &info = *WndFuncPlugins->Item(index);
    const FuncEntry entry = ReadFuncEntry(file, info);
    if (!entry.Enabled) {
      WndFuncPlugins->Delete(index);
      FuncParams.erase(FuncParams.begin() + index);
      continue;
    }
    FuncParams[index++] = entry.Params;
  }
}

void StoreTitle(const std::string &title) {
  const std::string shown = CutAtCharBoundary(title, kTitleMaxBytes);
  std::memset(FilterTitle, 0, sizeof FilterTitle);
  std::memcpy(FilterTitle, shown.data(), shown.size());
}

}  // namespace

void RunStartUp(int32_t yuy2Mode) {
  YUY2Mode = yuy2Mode;
  ModulePath = OwnModulePath();
  const TSettingsFile file = SettingsFileOf(ModulePath);
  const TSettingsReadHold hold(file);
  SettingsFileRead = hold.Readable();
  const std::string title = file.Read("FilterName", DefaultTitle(BaseNameOf(ModulePath)));
  PluginDirSetting = file.Read("PluginDir", kDefaultPluginDir);

  ReleasePluginLists();
  LoadPluginLists(DirectoryOf(ModulePath) + PluginDirSetting);
  ReadFuncEntries(file);

  StoreTitle(title);
  SizeListText = file.Read(SizeListKey(YUY2Mode), kDefaultSizeList);
}
