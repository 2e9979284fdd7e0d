#include "OfferedNames.h"

#include <algorithm>
#include <stdexcept>

#include "engine/TFilterPluginList.h"
#include "plugins/WindowFuncPlugin.h"

namespace quorlin_host {

namespace {

const char *const kBuiltInMethods[] = {"NearestNeighbor", "AreaAverage"};

std::string JoinNames(const std::vector<std::string> &names) {
  std::string text;
  for (const std::string &name : names) text += (text.empty() ? "" : ", ") + name;
  return text;
}

void CheckName(const std::optional<std::string> &name, const std::vector<std::string> &offered,
               const char *what) {
  if (!name || offered.empty()) return;
  if (std::find(offered.begin(), offered.end(), *name) == offered.end())
    throw std::runtime_error(std::string("unknown ") + what + " \"" + *name +
                             "\" (offered: " + JoinNames(offered) + ")");
}

}  // namespace

std::string PluginDirectoryOf(const std::string &aufPath) {
  const size_t separator = aufPath.find_last_of("\\/");
  return (separator == std::string::npos ? std::string() : aufPath.substr(0, separator + 1)) +
         "DLL";
}

OfferedNames FindOfferedNames(const std::string &directory, bool yuy2) {
  OfferedNames offered;
  TWndFuncPluginList functions;
  functions.LoadPlugins(directory.c_str());
  for (int32_t i = 0; i < functions.Count(); ++i)
    offered.methods.push_back(functions.Item(i)->Name);
  if (!yuy2 && !offered.methods.empty())
    offered.methods.insert(offered.methods.end(), std::begin(kBuiltInMethods),
                           std::end(kBuiltInMethods));
  TFilterPluginList kernels;
  kernels.LoadPlugins(directory.c_str(), yuy2 ? -1 : 0);
  for (int32_t i = 0; i < kernels.Count(); ++i) offered.kernels.push_back(kernels.Item(i)->Name);
  return offered;
}

void CheckOfferedNames(const SettingsChanges &changes, const OfferedNames &offered) {
  CheckName(changes.lumaMode, offered.methods, "luma method");
  CheckName(changes.chromaMode, offered.methods, "chroma method");
  CheckName(changes.kernel, offered.kernels, "kernel");
}

}  // namespace quorlin_host
