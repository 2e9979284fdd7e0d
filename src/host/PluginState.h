// Module-wide state of the plug-in: one instance per loaded module, zero or empty at load.
// Everything here is used on the host's one UI thread only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/TFilter.h"
#include "engine/TFilterPluginList.h"
#include "host/ResizeSettings.h"
#include "host/TitleText.h"
#include "plugins/WindowFuncPlugin.h"

// 0 when started through GetFilterTable, -1 through GetFilterTableYUY2; tested for zero.
extern int32_t YUY2Mode;
// The module's own file path.
extern std::string ModulePath;
// The display title the plug-in table names; its last byte always stays 0.
extern char FilterTitle[kTitleMaxBytes + 1];
// The "PluginDir" value as read, relative to the module's directory.
extern std::string PluginDirSetting;
// True when start-up could read the settings file (or found none). Otherwise what start-up took
// are defaults, not the user's settings, and shut-down leaves the file alone.
extern bool SettingsFileRead;
// The size list as comma text ("640x480,1280x720"), passed through unchanged.
extern std::string SizeListText;
// One pair per listed window function, at the function's index in WndFuncPlugins.
extern std::vector<FuncParamPair> FuncParams;
extern std::unique_ptr<TWndFuncPluginList> WndFuncPlugins;
extern std::unique_ptr<TFilterPluginList> FilterPlugins;

// The record the host stores in projects (the table's extra data), filled with the defaults.
extern ResizeSettings LiveSettings;
// Points at LiveSettings once func_init ran.
extern ResizeSettings *CurrentSettings;
// The host's largest image, from func_init; new sizes in the dialog must fit inside it.
extern int32_t MaxImageWidth;
extern int32_t MaxImageHeight;
// The host's filter window, from WM_FILTER_INIT.
extern HWND FilterWindow;
// The one resampling engine, from func_init to func_exit.
extern std::unique_ptr<TFilter> Engine;

// True when `list` exists and lists at least one entry.
template <typename List>
bool HasEntries(const std::unique_ptr<List> &list) {
  return list && list->Count() > 0;
}
