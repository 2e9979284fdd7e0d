#include "effect-host/EffectModule.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <cwchar>
#include <sstream>
#include <stdexcept>

namespace effecthost {
namespace {

using InitializePluginFn = bool (*)(DWORD version);
using UninitializePluginFn = void (*)();
using GetFilterPluginTableFn = FILTER_PLUGIN_TABLE *(*)();

// The editor's version number passed to InitializePlugin.
constexpr DWORD kHostVersion = 2000000;

std::runtime_error Failure(const std::wstring &what) {
  std::string narrow;
  for (wchar_t c : what) narrow += c < 0x80 ? static_cast<char>(c) : '?';
  return std::runtime_error(narrow);
}

template <typename Function>
Function Export(HMODULE module, const char *name) {
  return reinterpret_cast<Function>(reinterpret_cast<void *>(GetProcAddress(module, name)));
}

// The call in progress on this thread: get_image_data and set_image_data carry no context, so
// the editor's callbacks find their object through the thread that calls them.
struct CurrentCall {
  const RgbaFrame *Input;
  VideoResult *Result;
};
thread_local CurrentCall current;

void GetImageData(PIXEL_RGBA *buffer) {
  const RgbaFrame &input = *current.Input;
  std::memcpy(buffer, input.Pixels.data(), input.Pixels.size() * sizeof(PIXEL_RGBA));
}

void SetImageData(PIXEL_RGBA *buffer, int width, int height) {
  VideoResult &result = *current.Result;
  result.ImageSet = true;
  result.Output = RgbaFrame::Filled(width, height, PIXEL_RGBA{0, 0, 0, 0});
  if (buffer) std::copy(buffer, buffer + result.Output.Pixels.size(), result.Output.Pixels.begin());
}

std::atomic<int64_t> nextObjectId{1};

void SetTrack(FILTER_ITEM_TRACK &track, const std::wstring &value) {
  wchar_t *end = nullptr;
  const double number = std::wcstod(value.c_str(), &end);
  if (value.empty() || *end != L'\0') throw Failure(L"not a number: " + value);
  track.value = std::clamp(number, track.s, track.e);
}

void SetCheck(FILTER_ITEM_CHECK &check, const std::wstring &value) {
  if (value != L"0" && value != L"1") throw Failure(L"a check takes 0 or 1: " + value);
  check.value = value == L"1";
}

void SetSelect(FILTER_ITEM_SELECT &select, const std::wstring &value) {
  for (const FILTER_ITEM_SELECT::ITEM *choice = select.list; choice->name; ++choice) {
    if (value == choice->name) {
      select.value = choice->value;
      return;
    }
  }
  throw Failure(L"no such choice: " + value);
}

const wchar_t *ChoiceName(const FILTER_ITEM_SELECT &select, int value) {
  for (const FILTER_ITEM_SELECT::ITEM *choice = select.list; choice->name; ++choice) {
    if (choice->value == value) return choice->name;
  }
  return L"?";
}

}  // namespace

EffectModule::EffectModule(const std::wstring &path) : module_(LoadLibraryW(path.c_str())) {
  if (!module_) throw Failure(L"cannot load " + path);
  const auto initialize = Export<InitializePluginFn>(module_, "InitializePlugin");
  const auto getTable = Export<GetFilterPluginTableFn>(module_, "GetFilterPluginTable");
  if (!getTable || (initialize && !initialize(kHostVersion)) || !(table_ = getTable())) {
    FreeLibrary(module_);
    throw Failure(L"the plug-in does not start: " + path);
  }
}

EffectModule::~EffectModule() {
  if (const auto uninitialize = Export<UninitializePluginFn>(module_, "UninitializePlugin")) {
    uninitialize();
  }
  FreeLibrary(module_);
}

std::vector<EffectItem> EffectModule::Items() const {
  std::vector<EffectItem> items;
  for (void **item = table_->items; item && *item; ++item) {
    // Every item begins with its kind and its name.
    const LPCWSTR *header = static_cast<const LPCWSTR *>(*item);
    items.push_back({header[0], header[1], *item});
  }
  return items;
}

void EffectModule::Set(const std::wstring &name, const std::wstring &value) {
  for (const EffectItem &item : Items()) {
    if (item.Name != name) continue;
    if (item.Type == L"track") return SetTrack(*static_cast<FILTER_ITEM_TRACK *>(item.Item), value);
    if (item.Type == L"check") return SetCheck(*static_cast<FILTER_ITEM_CHECK *>(item.Item), value);
    if (item.Type == L"select") {
      return SetSelect(*static_cast<FILTER_ITEM_SELECT *>(item.Item), value);
    }
    throw Failure(L"the host does not set items of kind " + item.Type);
  }
  throw Failure(L"no such item: " + name);
}

VideoResult EffectModule::ProcessVideo(const RgbaFrame &input) const {
  const SCENE_INFO scene{1920, 1080, 30, 1, 48000};
  OBJECT_INFO object{};
  object.id = nextObjectId++;
  object.effect_id = object.id;
  object.frame_total = 1;
  object.width = input.Width;
  object.height = input.Height;
  object.num = 1;
  OBJECT_IMAGE_PARAM param{};
  param.sx = param.sy = param.sz = param.alpha = 1.0f;

  FILTER_PROC_VIDEO video{};
  video.scene = &scene;
  video.object = &object;
  video.get_image_data = GetImageData;
  video.set_image_data = SetImageData;
  video.param = &param;

  VideoResult result;
  current = {&input, &result};
  result.Returned = table_->func_proc_video(&video);
  current = {};
  if (!result.ImageSet) result.Output = input;
  return result;
}

std::wstring DescribeItem(const EffectItem &item) {
  std::wostringstream text;
  text << item.Type << L' ' << item.Name << L" = ";
  if (item.Type == L"track") {
    const auto &track = *static_cast<const FILTER_ITEM_TRACK *>(item.Item);
    text << track.value << L" (" << track.s << L" to " << track.e << L", step " << track.step
         << L')';
  } else if (item.Type == L"check") {
    text << static_cast<const FILTER_ITEM_CHECK *>(item.Item)->value;
  } else if (item.Type == L"select") {
    const auto &select = *static_cast<const FILTER_ITEM_SELECT *>(item.Item);
    text << ChoiceName(select, select.value) << L" (";
    for (const FILTER_ITEM_SELECT::ITEM *choice = select.list; choice->name; ++choice) {
      text << (choice == select.list ? L"" : L" / ") << choice->name;
    }
    text << L')';
  }
  return text.str();
}

}  // namespace effecthost
