// The window functions offered by the libraries in the plug-in directory, in load order and,
// within a library, in index order. Owns the libraries and releases them, last loaded first.
#pragma once

#include <cstdint>
#include <vector>

#include "common/PluginLibraries.h"
#include "contracts/WindowFuncInfo.h"

class TWndFuncPluginList {
 public:
  TWndFuncPluginList() = default;
  ~TWndFuncPluginList() = default;
  TWndFuncPluginList(const TWndFuncPluginList &) = delete;
  TWndFuncPluginList &operator=(const TWndFuncPluginList &) = delete;

  // Appends every function of every library in `directory` exporting "GetWindowFuncPluginInfo".
  void LoadPlugins(const char *directory);

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  const WindowFuncInfo *Item(int32_t index) const { return items_[index]; }
  // Removes the record from the list; its library stays loaded.
  void Delete(int32_t index);
  // First record whose Name equals `name` byte for byte, or -1.
  int32_t IndexOfName(const char *name) const;

 private:
  std::vector<const WindowFuncInfo *> items_;
  PluginLibraries libraries_;
};
