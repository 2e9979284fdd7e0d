#include "host/SettingsApply.h"

#include <cstring>
#include <memory>

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

bool EitherSideNames(const ResizeSettings &settings, const char *method) {
  return ReadNameField(settings.LumaMode) == method || ReadNameField(settings.ChromaMode) == method;
}

// The named function with the stored parameter's low 16 bits, sign-extended so the function
// gets the value its range was checked against; an unknown name gives the first function with
// its default.
ChosenFunc ChooseWindowFunc(const char (&mode)[kNameFieldSize], int32_t storedParam) {
  const int32_t index = IndexOfStoredName(*WndFuncPlugins, mode);
  if (index < 0) {
    const WindowFuncInfo *first = WndFuncPlugins->Item(0);
    return ChosenFunc{0, first, first->ParamDefault};
  }
  return ChosenFunc{index, WndFuncPlugins->Item(index), Low16(storedParam)};
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
  const int32_t index = IndexOfStoredName(*FilterPlugins, settings.SIMDMode);
  return FilterPlugins->Item(index < 0 ? 0 : index);
}

}  // namespace

void ApplySettings() {
  if (!HasEntries(WndFuncPlugins) || !HasEntries(FilterPlugins) || !Engine || !CurrentSettings)
    return;
  Engine->SetWeightSetter(ChooseWeightSetter(*CurrentSettings).release());
  Engine->SetKernel(ChooseKernel(*CurrentSettings));
}
