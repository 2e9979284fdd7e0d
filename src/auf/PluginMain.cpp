// The module's two exports and the plug-in table they return: the hooks of the plug-in glue,
// which drive the configuration dialog as their settings panel.
#include "common/HostBoundary.h"
#include "dialog/ConfigDlg.h"
#include "host/HostHooks.h"
#include "host/PluginState.h"
#include "host/SettingsPanel.h"
#include "host/StartUp.h"
#include "hostsdk/AviUtlPlugin.h"

namespace {

constexpr char kInformation[] = "カルメリオ(ベンチマーク用)";
constexpr int32_t kWindowWidth = 288;
constexpr int32_t kWindowHeight = 140;
constexpr int32_t kYC48Mode = 0;
constexpr int32_t kYUY2Mode = -1;

// The host reads this record; everything not set here stays 0 (no track bars, no check boxes,
// and the host fills in its own exfunc, hwnd and dll_hinst in the copy it passes to hooks).
FILTER_DLL MakeFilterTable() {
  FILTER_DLL table{};
  table.flag = FILTER_FLAG_EX_DATA | FILTER_FLAG_WINDOW_SIZE | FILTER_FLAG_EX_INFORMATION;
  table.x = kWindowWidth;
  table.y = kWindowHeight;
  table.name = FilterTitle;
  table.func_proc = func_proc;
  table.func_init = func_init;
  table.func_exit = func_exit;
  table.func_update = func_update;
  table.func_WndProc = func_WndProc;
  table.ex_data_ptr = &LiveSettings;
  table.ex_data_size = sizeof(ResizeSettings);
  table.information = kInformation;
  table.func_save_start = func_save_start;
  table.func_save_end = func_save_end;
  return table;
}

FILTER_DLL FilterTable = MakeFilterTable();

FILTER_DLL *StartFilter(int32_t yuy2Mode) {
  return GuardHostCall<FILTER_DLL *>(nullptr, [yuy2Mode] {
    UseSettingsPanel(&kConfigDialogPanel);
    RunStartUp(yuy2Mode);
    return &FilterTable;
  });
}

}  // namespace

extern "C" FILTER_DLL *__stdcall GetFilterTable() { return StartFilter(kYC48Mode); }
extern "C" FILTER_DLL *__stdcall GetFilterTableYUY2() { return StartFilter(kYUY2Mode); }
