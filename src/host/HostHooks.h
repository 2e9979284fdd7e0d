// The hooks the host calls through the plug-in table, all on its one UI thread.
#pragma once

#include "hostsdk/AviUtlPlugin.h"

// Sent by the configuration dialog to the filter window after each change it applied; the
// window procedure answers with a redraw request while the filter is active.
constexpr UINT WM_QUORLIN_SETTINGS_CHANGED = 0x8200;

BOOL __cdecl func_init(FILTER *fp);
BOOL __cdecl func_exit(FILTER *fp);
BOOL __cdecl func_proc(FILTER *fp, FILTER_PROC_INFO *fpip);
BOOL __cdecl func_update(FILTER *fp, int status);
BOOL __cdecl func_save_start(FILTER *fp, int s, int e, void *editp);
BOOL __cdecl func_save_end(FILTER *fp, void *editp);
BOOL __cdecl func_WndProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, void *editp,
                          FILTER *fp);
