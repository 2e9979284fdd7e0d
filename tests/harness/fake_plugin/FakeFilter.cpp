// A minimal filter plug-in written to the host's SDK, for testing the harness's session: it
// records every hook call and what the host's services answered in a FakeFilterLog owned by the
// test.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "FakeFilterLog.h"
#include "hostsdk/AviUtlPlugin.h"

namespace {

FakeFilterLog *record = nullptr;
uint8_t exData[kFakeExDataSize];

void Event(const char *text) {
  if (!record) return;
  strncat(record->events, text, sizeof(record->events) - strlen(record->events) - 2);
  strcat(record->events, ";");
}

void AttachLog() {
  char address[32] = {};
  GetEnvironmentVariableA(kFakeFilterLogVariable, address, sizeof(address));
  record = reinterpret_cast<FakeFilterLog *>(std::strtoul(address, nullptr, 16));
}

void __cdecl CountThread(int thread_id, int thread_num, void *, void *) {
  record->threadNum = thread_num;
  if (thread_id >= 0 && thread_id < kFakeMaxThreads)
    InterlockedIncrement(reinterpret_cast<volatile LONG *>(&record->threadHits[thread_id]));
}

void HalveIntoScratch(FILTER_PROC_INFO *fpip) {
  const auto *source = static_cast<const PIXEL_YC *>(fpip->ycp_edit);
  auto *target = static_cast<PIXEL_YC *>(fpip->ycp_temp);
  const int width = fpip->w / 2;
  for (int y = 0; y < fpip->h; ++y)
    for (int x = 0; x < width; ++x)
      target[y * fpip->max_w + x] = source[y * fpip->max_w + 2 * x];
  std::swap(fpip->ycp_edit, fpip->ycp_temp);
  fpip->w = width;
}

BOOL __cdecl FuncProc(FILTER *fp, FILTER_PROC_INFO *fpip) {
  Event("proc");
  ++record->procCalls;
  record->savingDuringLastProc = fp->exfunc->is_saving(fpip->editp);
  switch (record->procMode) {
    case FakeProcMode::PassThrough: break;
    case FakeProcMode::HalveIntoScratch: HalveIntoScratch(fpip); break;
    case FakeProcMode::RunOnAllThreads:
      record->multiThreadServiceMissing = fp->exfunc->exec_multi_thread_func == nullptr;
      if (fp->exfunc->exec_multi_thread_func)
        fp->exfunc->exec_multi_thread_func(&CountThread, fp, fpip);
      break;
    case FakeProcMode::BreakImagePointers: fpip->ycp_temp = fpip->ycp_edit; break;
  }
  return TRUE;
}

BOOL __cdecl FuncInit(FILTER *fp) {
  Event("init");
  SYS_INFO info{};
  fp->exfunc->get_sys_info(nullptr, &info);
  record->sysMaxWidth = info.max_w;
  record->sysMaxHeight = info.max_h;
  return TRUE;
}

BOOL __cdecl FuncExit(FILTER *) {
  Event("exit");
  return TRUE;
}

BOOL __cdecl FuncUpdate(FILTER *, int) {
  Event("update");
  std::memcpy(record->exDataAtUpdate, exData, sizeof(exData));
  return TRUE;
}

BOOL __cdecl FuncWndProc(HWND hwnd, UINT message, WPARAM, LPARAM, void *, FILTER *fp) {
  if (hwnd != fp->hwnd) ++record->wndProcHandleMismatches;
  switch (message) {
    case WM_FILTER_INIT: Event("msg:init"); return fp->exfunc->is_filter_active(fp);
    case WM_FILTER_EXIT: Event("msg:exit"); return FALSE;
    case kFakeRedrawMessage: Event("msg:8200"); return fp->exfunc->is_filter_active(fp);
    default: return FALSE;
  }
}

BOOL __cdecl FuncSaveStart(FILTER *, int s, int e, void *) {
  char text[64];
  std::snprintf(text, sizeof(text), "save_start %d %d", s, e);
  Event(text);
  return TRUE;
}

BOOL __cdecl FuncSaveEnd(FILTER *fp, void *) {
  Event("save_end");
  SetWindowTextA(fp->hwnd, "fake timing");
  return TRUE;
}

FILTER_DLL MakeTable() {
  FILTER_DLL table{};
  table.flag = FILTER_FLAG_EX_DATA | FILTER_FLAG_WINDOW_SIZE;
  table.x = kFakeWindowWidth;
  table.y = kFakeWindowHeight;
  table.name = "Fake";
  table.func_proc = &FuncProc;
  table.func_init = &FuncInit;
  table.func_exit = &FuncExit;
  table.func_update = &FuncUpdate;
  table.func_WndProc = &FuncWndProc;
  table.ex_data_ptr = exData;
  table.ex_data_size = kFakeExDataSize;
  table.func_save_start = &FuncSaveStart;
  table.func_save_end = &FuncSaveEnd;
  return table;
}

FILTER_DLL table = MakeTable();

}  // namespace

extern "C" __attribute__((dllexport)) FILTER_DLL *__stdcall GetFilterTable() {
  AttachLog();
  Event("table");
  return &table;
}

extern "C" __attribute__((dllexport)) FILTER_DLL *__stdcall GetFilterTableYUY2() {
  AttachLog();
  Event("table_yuy2");
  return &table;
}

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_DETACH) Event("unload");
  return TRUE;
}
