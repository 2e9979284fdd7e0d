#include "auf2/EffectItems.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "auf2/FilterSdk.h"

namespace auf2 {
namespace {

FILTER_ITEM_SELECT::ITEM kSizeModes[] = {{L"拡大率", static_cast<int>(SizeMode::Scale)},
                                         {L"幅と高さ", static_cast<int>(SizeMode::WidthAndHeight)},
                                         {L"幅に合わせる", static_cast<int>(SizeMode::FitWidth)},
                                         {L"高さに合わせる", static_cast<int>(SizeMode::FitHeight)},
                                         {nullptr, 0}};

FILTER_ITEM_SELECT::ITEM kIsas[] = {{L"自動", static_cast<int>(rgba::Isa::Auto)},
                                    {L"AVX-512", static_cast<int>(rgba::Isa::Avx512)},
                                    {L"AVX2", static_cast<int>(rgba::Isa::Avx2)},
                                    {L"SSE2", static_cast<int>(rgba::Isa::Sse2)},
                                    {L"C++", static_cast<int>(rgba::Isa::Portable)},
                                    {nullptr, 0}};

constexpr double kDefaultWidth = 1920, kDefaultHeight = 1080;

std::wstring WideOf(const std::string &utf8) {
  std::wstring wide(utf8.size(), L'\0');
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                         wide.data(), static_cast<int>(wide.size()));
  wide.resize(std::max(length, 0));
  return wide;
}

// The 方式 choices: every method of the engine, its index as the value. The names live as long
// as the module.
FILTER_ITEM_SELECT::ITEM *MethodChoices() {
  static const std::vector<std::wstring> names = [] {
    std::vector<std::wstring> wide;
    for (const rgba::MethodInfo &method : rgba::Methods()) wide.push_back(WideOf(method.Name));
    return wide;
  }();
  static std::vector<FILTER_ITEM_SELECT::ITEM> choices = [] {
    std::vector<FILTER_ITEM_SELECT::ITEM> list;
    for (const std::wstring &name : names) {
      list.push_back({name.c_str(), static_cast<int>(list.size())});
    }
    list.push_back({nullptr, 0});
    return list;
  }();
  return choices.data();
}

// パラメータ spans every method's range and 0, which stands for the method's default.
double ParamLimit(bool upper) {
  int32_t limit = 0;
  for (const rgba::MethodInfo &method : rgba::Methods()) {
    limit = upper ? std::max(limit, method.ParamMax) : std::min(limit, method.ParamMin);
  }
  return limit;
}

FILTER_ITEM_SELECT sizeMode(L"サイズの指定", static_cast<int>(SizeMode::Scale), kSizeModes);
FILTER_ITEM_TRACK scale(L"拡大率", 100.0, 1.0, 1600.0, 0.01);
FILTER_ITEM_TRACK width(L"幅", kDefaultWidth, 1.0, rgba::kMaxSide);
FILTER_ITEM_TRACK height(L"高さ", kDefaultHeight, 1.0, rgba::kMaxSide);
FILTER_ITEM_SELECT method(L"方式", rgba::DefaultMethodIndex(), MethodChoices());
FILTER_ITEM_TRACK param(L"パラメータ", 0.0, ParamLimit(false), ParamLimit(true));
FILTER_ITEM_CHECK linearLight(L"リニアで計算", false);
FILTER_ITEM_SELECT isa(L"処理", static_cast<int>(rgba::Isa::Auto), kIsas);

void *items[] = {&sizeMode, &scale, &width, &height, &method, &param, &linearLight, &isa, nullptr};

template <typename Enum>
Enum ChoiceOf(const FILTER_ITEM_SELECT &item, Enum last, Enum fallback) {
  const bool known = item.value >= 0 && item.value <= static_cast<int>(last);
  return known ? static_cast<Enum>(item.value) : fallback;
}

// The parameter track's value as a whole number within the track (0 for a value that is none).
int32_t ParamOf(const FILTER_ITEM_TRACK &item) {
  if (std::isnan(item.value)) return 0;
  return static_cast<int32_t>(std::lround(std::clamp(item.value, item.s, item.e)));
}

int MethodIndexOf(int value) {
  const int count = static_cast<int>(rgba::Methods().size());
  return value >= 0 && value < count ? value : rgba::DefaultMethodIndex();
}

}  // namespace

void **EffectItemList() { return items; }

EffectSettings CurrentSettings() {
  EffectSettings settings{};
  settings.Mode = ChoiceOf(sizeMode, SizeMode::FitHeight, SizeMode::Scale);
  settings.ScalePercent = scale.value;
  settings.Width = width.value;
  settings.Height = height.value;
  settings.Options.MethodIndex = MethodIndexOf(method.value);
  settings.Options.Param = ParamOf(param);
  settings.Options.LinearLight = linearLight.value;
  settings.Options.Isa = ChoiceOf(isa, rgba::Isa::Portable, rgba::Isa::Auto);
  return settings;
}

}  // namespace auf2
