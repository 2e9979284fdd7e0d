// The kernel libraries found in the plug-in directory, in load order. Owns the libraries and
// releases them, last loaded first, when destroyed.
#pragma once

#include <cstdint>
#include <vector>

#include "common/PluginLibraries.h"
#include "contracts/FilterPluginInfo.h"

class TFilterPluginList {
 public:
  TFilterPluginList() = default;
  ~TFilterPluginList() = default;
  TFilterPluginList(const TFilterPluginList &) = delete;
  TFilterPluginList &operator=(const TFilterPluginList &) = delete;

  // Appends every usable kernel in `directory`: "GetYUY2FilterPluginInfo2" when `yuy2` is
  // non-zero, else "GetFilterPluginInfo2". Unusable libraries are released again.
  void LoadPlugins(const char *directory, int32_t yuy2);

  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  const FilterPluginInfo *Item(int32_t index) const { return items_[index]; }
  // First record whose Name equals `name` byte for byte, or -1.
  int32_t IndexOfName(const char *name) const;

 private:
  std::vector<const FilterPluginInfo *> items_;
  PluginLibraries libraries_;
};
