#include "host/SettingsApply.h"

#include <cstring>
#include <memory>

#include "common/LibraryCall.h"
#include "engine/TAreaAverage.h"
#include "engine/TIndependentWeightSetter.h"
#include "engine/TNearestNeighbor.h"
#include "engine/TNormalWeightSetter.h"
#include "engine/TYUY2WeightSetter.h"
#include "host/PluginState.h"
#include "host/StoredName.h"

namespace {

constexpr char kNearestNeighbor[] = "NearestNeighbor";
constexpr char kAreaAverage[] = "AreaAverage";

// A window function chosen for one side, with the parameter handed to its Create.
struct ChosenFunc {
  int32_t Index;
  const WindowFuncInfo *Info;
  int32_t Param;
};

// Index of the first listed record whose library is in use, or -1.
template <typename List>
int32_t FirstUsable(const List &list) {
  for (int32_t i = 0; i < list.Count(); ++i) {
    if (IsRecordUsable(list.Item(i))) return i;
  }
  return -1;
}

template <typename List>
bool HasUsableEntries(const std::unique_ptr<List> &list) {
  return list && FirstUsable(*list) >= 0;
}

// The record the field names, or the first usable one when that name is not listed or its
// library is out of use.
template <typename List>
int32_t ChooseIndex(const List &list, const char (&field)[kNameFieldSize], bool *named) {
  const int32_t index = IndexOfStoredName(list, field);
  *named = index >= 0 && IsRecordUsable(list.Item(index));
  return *named ? index : FirstUsable(list);
}

bool EitherSideNames(const ResizeSettings &settings, const char *method) {
  return ReadNameField(settings.LumaMode) == method || ReadNameField(settings.ChromaMode) == method;
}

// The named function with the stored parameter's low 16 bits, sign-extended so the function
// gets the value its range was checked against; an unknown name gives the first usable function
// with its default.
ChosenFunc ChooseWindowFunc(const char (&mode)[kNameFieldSize], int32_t storedParam) {
  bool named = false;
  const int32_t index = ChooseIndex(*WndFuncPlugins, mode, &named);
  const WindowFuncInfo *info = WndFuncPlugins->Item(index);
  return ChosenFunc{index, info, named ? Low16(storedParam) : info->ParamDefault};
}

template <typename Setter>
std::unique_ptr<TWeightSetter> SeparateFuncsSetter(const ChosenFunc &luma, const ChosenFunc &chroma) {
  auto setter = std::make_unique<Setter>();
  setter->SetWindowFuncs(luma.Info, chroma.Info, luma.Param, chroma.Param);
  return setter;
}

std::unique_ptr<TWeightSetter> WindowFuncSetter(const ResizeSettings &settings) {
  const ChosenFunc luma = ChooseWindowFunc(settings.LumaMode, settings.LumaParam);
  const ChosenFunc chroma = ChooseWindowFunc(settings.ChromaMode, settings.ChromaParam);
  if (YUY2Mode != 0) return SeparateFuncsSetter<TYUY2WeightSetter>(luma, chroma);
  if (luma.Index == chroma.Index && luma.Param == chroma.Param) {
    auto setter = std::make_unique<TNormalWeightSetter>();
    setter->SetWindowFunc(luma.Info, luma.Param);
    return setter;
  }
  return SeparateFuncsSetter<TIndependentWeightSetter>(luma, chroma);
}

// The built-in methods exist only for YC48 frames; "NearestNeighbor" is tested first.
std::unique_ptr<TWeightSetter> ChooseWeightSetter(const ResizeSettings &settings) {
  if (YUY2Mode == 0 && EitherSideNames(settings, kNearestNeighbor))
    return std::make_unique<TNearestNeighbor>();
  if (YUY2Mode == 0 && EitherSideNames(settings, kAreaAverage))
    return std::make_unique<TAreaAverage>();
  return WindowFuncSetter(settings);
}

const FilterPluginInfo *ChooseKernel(const ResizeSettings &settings) {
  bool named = false;
  return FilterPlugins->Item(ChooseIndex(*FilterPlugins, settings.SIMDMode, &named));
}

}  // namespace

// A library that faults while the setter is made, or while the one it replaces is released,
// goes out of use; the choice is then made again among the entries left, until no library
// faults or no usable entry is left.
void ApplySettings() {
  if (!Engine || !CurrentSettings) return;
  size_t broken;
  do {
    broken = BrokenLibraryCount();
    if (!HasUsableEntries(WndFuncPlugins) || !HasUsableEntries(FilterPlugins)) return;
    try {
      Engine->SetWeightSetter(ChooseWeightSetter(*CurrentSettings).release());
      Engine->SetKernel(ChooseKernel(*CurrentSettings));
    } catch (const LibraryFault &) {
      // the faulting library is out of use: the next round chooses without it
    }
  } while (BrokenLibraryCount() != broken);
}
