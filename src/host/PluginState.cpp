#include "host/PluginState.h"

int32_t YUY2Mode = 0;
std::string ModulePath;
char FilterTitle[kTitleMaxBytes + 1] = {};
std::string PluginDirSetting;
bool SettingsFileRead = false;
std::string SizeListText;
std::vector<FuncParamPair> FuncParams;
std::unique_ptr<TWndFuncPluginList> WndFuncPlugins;
std::unique_ptr<TFilterPluginList> FilterPlugins;

ResizeSettings LiveSettings = DefaultResizeSettings();
ResizeSettings *CurrentSettings = nullptr;
int32_t MaxImageWidth = 0;
int32_t MaxImageHeight = 0;
HWND FilterWindow = nullptr;
std::unique_ptr<TFilter> Engine;
