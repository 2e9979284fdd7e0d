#include "resizer/Installation.h"

#include "engine/TFilterPluginList.h"
#include "host/CommaText.h"
#include "host/FuncEntry.h"
#include "host/ModulePath.h"
#include "host/SettingsFile.h"
#include "plugins/WindowFuncPlugin.h"

namespace quorlin_resizer {

const char kNearestNeighbor[] = "NearestNeighbor";
const char kAreaAverage[] = "AreaAverage";

namespace {

constexpr char kDefaultPluginDir[] = "DLL";

std::string Join(const std::vector<std::string> &names) {
  std::string text;
  for (const std::string &name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

MethodInfo WindowFunctionMethod(const WindowFuncInfo &info) {
  MethodInfo method;
  method.name = info.Name;
  method.hasParam = info.ParamLabel != nullptr;
  method.paramMin = info.ParamMin;
  method.paramMax = info.ParamMax;
  method.paramDefault = info.ParamDefault;
  return method;
}

MethodInfo BuiltInMethod(const char *name) {
  MethodInfo method;
  method.name = name;
  method.builtIn = true;
  return method;
}

}  // namespace

const MethodInfo *Installation::FindMethod(const std::string &name) const {
  for (const MethodInfo &method : methods)
    if (method.name == name) return &method;
  return nullptr;
}

std::string Installation::MethodNames() const {
  std::vector<std::string> names;
  for (const MethodInfo &method : methods) names.push_back(method.name);
  return Join(names);
}

std::string Installation::KernelNames() const { return Join(kernels); }

std::optional<FrameSize> FirstSizeOf(const std::string &sizeList) {
  for (const std::string &item : SplitCommaText(sizeList)) {
    const size_t x = item.find('x');
    if (x == std::string::npos) continue;
    const std::optional<int32_t> width = ParseNumber(item.substr(0, x));
    const std::optional<int32_t> height = ParseNumber(item.substr(x + 1));
    if (width && height && *width > 0 && *height > 0) return FrameSize{*width, *height};
  }
  return std::nullopt;
}

Installation ReadInstallation(const std::string &aufPath, bool yuy2) {
  const TSettingsFile settings = SettingsFileOf(aufPath);
  Installation installation;
  installation.pluginDirectory =
      DirectoryOf(aufPath) + settings.Read("PluginDir", kDefaultPluginDir);
  installation.firstSize = FirstSizeOf(settings.Read(SizeListKey(yuy2 ? -1 : 0), ""));

  TWndFuncPluginList functions;
  functions.LoadPlugins(installation.pluginDirectory.c_str());
  for (int32_t i = 0; i < functions.Count(); ++i) {
    const WindowFuncInfo &info = *functions.Item(i);
    if (ReadFuncEntry(settings, info).Enabled)
      installation.methods.push_back(WindowFunctionMethod(info));
  }
  if (!yuy2 && !installation.methods.empty()) {
    installation.methods.push_back(BuiltInMethod(kNearestNeighbor));
    installation.methods.push_back(BuiltInMethod(kAreaAverage));
  }
  TFilterPluginList kernels;
  kernels.LoadPlugins(installation.pluginDirectory.c_str(), yuy2 ? -1 : 0);
  for (int32_t i = 0; i < kernels.Count(); ++i)
    installation.kernels.push_back(kernels.Item(i)->Name);
  return installation;
}

std::string DescribeInstallation(const Installation &installation) {
  if (installation.PassesThrough())
    return "  (" + installation.pluginDirectory +
           " offers no window functions or no kernels: frames pass unchanged)\n";
  std::string text = "  methods:\n";
  for (const MethodInfo &method : installation.methods) {
    text += "    " + method.name;
    if (method.hasParam)
      text += "  parameter " + std::to_string(method.paramMin) + ".." +
              std::to_string(method.paramMax) + ", default " +
              std::to_string(method.paramDefault);
    else if (method.builtIn)
      text += "  (luma and chroma alike)";
    text += "\n";
  }
  text += "  kernels: " + installation.KernelNames() + "\n";
  return text;
}

}  // namespace quorlin_resizer
