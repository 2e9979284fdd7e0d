// A filter plug-in (.auf2) loaded as the editor loads it: the module, its start, its table and
// its setting items, which the host sets by name as the editor's settings panel does.
#pragma once

#include <string>
#include <vector>

#include "auf2/FilterSdk.h"
#include "effect-host/RgbaFrame.h"

namespace effecthost {

// One setting item of the table: its kind ("track", "select", "check", ...) and name, and the
// item itself.
struct EffectItem {
  std::wstring Type, Name;
  void *Item;
};

// What one call of func_proc_video did.
struct VideoResult {
  bool Returned = false;  // func_proc_video's result
  bool ImageSet = false;  // set_image_data was called
  RgbaFrame Output;       // the image set, or the input when none was
};

class EffectModule {
 public:
  // Loads the module and calls InitializePlugin (when exported) and GetFilterPluginTable.
  // Throws std::runtime_error when any of that fails.
  explicit EffectModule(const std::wstring &path);
  // Calls UninitializePlugin (when exported) and unloads the module.
  ~EffectModule();
  EffectModule(const EffectModule &) = delete;
  EffectModule &operator=(const EffectModule &) = delete;

  const FILTER_PLUGIN_TABLE &Table() const { return *table_; }
  std::vector<EffectItem> Items() const;

  // Sets an item as the editor's panel does: a track to a number (kept within its range), a
  // check to 0 or 1, a select to one of its choices by name. Throws std::runtime_error for an
  // unknown item or a value it cannot take.
  void Set(const std::wstring &name, const std::wstring &value);

  // One call of func_proc_video for an object with this image, on the calling thread. Several
  // threads may call at once, each with its own image.
  VideoResult ProcessVideo(const RgbaFrame &input) const;

 private:
  HMODULE module_;
  FILTER_PLUGIN_TABLE *table_ = nullptr;
};

// An item's current value and range or choices as one line: `select 方式 = Spline36 (...)`.
std::wstring DescribeItem(const EffectItem &item);

}  // namespace effecthost
