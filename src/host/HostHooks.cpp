#include "host/HostHooks.h"

#include <cstring>
#include <memory>

#include "common/HostBoundary.h"
#include "host/FrameTimer.h"
#include "host/ParameterValidation.h"
#include "host/PluginState.h"
#include "host/SettingsApply.h"
#include "host/SettingsPanel.h"
#include "host/SettingsWriteBack.h"

namespace {

// The frames timed since the last save start.
TFrameTimer SaveTimer;

const SettingsPanel *Panel = nullptr;

bool IsSaving(FILTER *fp, FILTER_PROC_INFO *fpip) {
  return fp->exfunc->is_saving != nullptr && fp->exfunc->is_saving(fpip->editp) != FALSE;
}

BOOL IsFilterActive(FILTER *fp) {
  return fp->exfunc->is_filter_active != nullptr ? fp->exfunc->is_filter_active(fp) : FALSE;
}

// Without an engine (no func_init yet) the frame passes unchanged.
BOOL RunEngine(FILTER *fp, FILTER_PROC_INFO *fpip) {
  return Engine ? Engine->ProcessFrame(fp, fpip) : TRUE;
}

// After a library's fault made the engine drop its setter or kernel, the next frame resizes
// with what the settings choose among the libraries left.
void ReplaceWhatAFaultDropped() {
  if (Engine && Engine->TakeDroppedNotice()) ApplySettings();
}

// Times the engine call only while the host writes its output file: the host is asked before
// and after every call, whether it saves or not, and only a frame saved on both sides counts.
BOOL ProcessAndTime(FILTER *fp, FILTER_PROC_INFO *fpip) {
  const bool savingBefore = IsSaving(fp, fpip);
  const int64_t start = savingBefore ? FrameClockReading() : 0;
  const BOOL result = RunEngine(fp, fpip);
  const bool savingAfter = IsSaving(fp, fpip);
  if (savingBefore && savingAfter) SaveTimer.AddFrame(FrameClockSeconds(start, FrameClockReading()));
  return result;
}

// The panel may change the record while it shows it (a size or name it does not list, a name
// in other letter case); the engine then gets the settings the panel shows.
void LoadPanelFromSettingsAndApply() {
  if (Panel == nullptr) return;
  const ResizeSettings before = *CurrentSettings;
  if (!Panel->LoadFromSettings()) return;
  if (std::memcmp(&before, CurrentSettings, sizeof before) != 0) ApplySettings();
}

void ReleaseEngineAndLists() {
  // The engine first: its setter holds instances made by the window-function libraries.
  Engine.reset();
  WndFuncPlugins.reset();
  FilterPlugins.reset();
}

}  // namespace

void UseSettingsPanel(const SettingsPanel *panel) { Panel = panel; }

BOOL __cdecl func_init(FILTER *fp) {
  return GuardHostCall<BOOL>(FALSE, [fp]() -> BOOL {
    CurrentSettings = &LiveSettings;
    SYS_INFO info{};
    if (fp->exfunc->get_sys_info != nullptr) fp->exfunc->get_sys_info(nullptr, &info);
    MaxImageWidth = info.max_w;
    MaxImageHeight = info.max_h;
    Engine = std::make_unique<TFilter>(YUY2Mode, TargetSizeOf(*CurrentSettings));
    return TRUE;
  });
}

BOOL __cdecl func_exit(FILTER *) {
  // A failed write still frees the engine and the lists, in their order, and reports false.
  const BOOL written = GuardHostCall<BOOL>(FALSE, [] { return WriteBackSettings() ? TRUE : FALSE; });
  const BOOL released = GuardHostCall<BOOL>(FALSE, [] {
    ReleaseEngineAndLists();
    return TRUE;
  });
  return written && released ? TRUE : FALSE;
}

BOOL __cdecl func_proc(FILTER *fp, FILTER_PROC_INFO *fpip) {
  return GuardHostCall<BOOL>(FALSE, [fp, fpip] {
    const BOOL result = ProcessAndTime(fp, fpip);
    ReplaceWhatAFaultDropped();
    return result;
  });
}

BOOL __cdecl func_update(FILTER *, int) {
  return GuardHostCall<BOOL>(FALSE, []() -> BOOL {
    ValidateParameters();
    ApplySettings();
    LoadPanelFromSettingsAndApply();
    return TRUE;
  });
}

BOOL __cdecl func_save_start(FILTER *, int, int, void *) {
  return GuardHostCall<BOOL>(FALSE, []() -> BOOL {
    SaveTimer.Reset();
    return TRUE;
  });
}

BOOL __cdecl func_save_end(FILTER *fp, void *) {
  return GuardHostCall<BOOL>(FALSE, [fp]() -> BOOL {
    if (SaveTimer.TimedFrames() > 0) {
      SetWindowTextA(fp->hwnd, FrameTimesTitle(SaveTimer, UserDecimalSeparator()).c_str());
    }
    return TRUE;
  });
}

BOOL __cdecl func_WndProc(HWND hwnd, UINT message, WPARAM, LPARAM, void *, FILTER *fp) {
  return GuardHostCall<BOOL>(FALSE, [hwnd, message, fp]() -> BOOL {
    switch (message) {
      case WM_FILTER_INIT:
        FilterWindow = hwnd;
        if (Panel) Panel->Create(FilterWindow);
        return IsFilterActive(fp);
      case WM_FILTER_EXIT:
        if (Panel) Panel->Release();
        return FALSE;
      case WM_QUORLIN_SETTINGS_CHANGED:
        return IsFilterActive(fp);
      default:
        return FALSE;
    }
  });
}
