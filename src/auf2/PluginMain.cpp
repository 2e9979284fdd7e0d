// The module's exports: the plug-in table the editor reads, and the start and end of the
// plug-in, which start and stop the effect's worker pool.
#include "auf2/EffectItems.h"
#include "auf2/EffectPool.h"
#include "auf2/FilterSdk.h"
#include "auf2/VideoEffect.h"
#include "common/HostBoundary.h"

namespace {

bool ProcessVideoGuarded(FILTER_PROC_VIDEO *video) {
  return GuardHostCall(false, [video] { return auf2::ProcessVideo(video); });
}

// A video effect only: a filter object may not change the image size.
FILTER_PLUGIN_TABLE table = {FILTER_PLUGIN_TABLE::FLAG_VIDEO,
                             L"カルメリオ",
                             nullptr,
                             L"カルメリオ (Quorlin) version " QUORLIN_VERSION_TEXT,
                             auf2::EffectItemList(),
                             ProcessVideoGuarded,
                             nullptr};

}  // namespace

extern "C" bool InitializePlugin(DWORD) {
  return GuardHostCall(false, [] { return auf2::EffectPool() != nullptr; });
}

extern "C" void UninitializePlugin() {
  GuardHostCall(0, [] {
    auf2::StopEffectPool();
    return 0;
  });
}

extern "C" FILTER_PLUGIN_TABLE *GetFilterPluginTable() { return &table; }
