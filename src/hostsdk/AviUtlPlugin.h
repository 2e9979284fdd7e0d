// Declarations of the host's filter plug-in records, services and messages (32-bit,
// little-endian, 4-byte pointers, cdecl callbacks). The offsets are the host's binary layout.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

struct FILTER;
struct FILTER_PROC_INFO;
struct SYS_INFO;

// Worker run by exec_multi_thread_func once on each worker thread.
typedef void(__cdecl *MULTI_THREAD_FUNC)(int thread_id, int thread_num, void *param1, void *param2);

// The host's service table. Only the members the plug-in calls are named; the others are
// kept as opaque slots so that the named ones sit at the host's offsets.
struct EXFUNC {
  void *reserved0[5];                                              // 0..16
  BOOL(__cdecl *is_saving)(void *editp);                           // 20
  void *reserved6[19];                                             // 24..96
  BOOL(__cdecl *is_filter_active)(FILTER *fp);                     // 100
  void *reserved26[14];                                            // 104..156
  BOOL(__cdecl *get_sys_info)(void *editp, SYS_INFO *sip);         // 160
  void *reserved41[10];                                            // 164..200
  BOOL(__cdecl *exec_multi_thread_func)(MULTI_THREAD_FUNC func, void *param1,
                                        void *param2);             // 204
};
static_assert(offsetof(EXFUNC, is_saving) == 20, "EXFUNC layout");
static_assert(offsetof(EXFUNC, is_filter_active) == 100, "EXFUNC layout");
static_assert(offsetof(EXFUNC, get_sys_info) == 160, "EXFUNC layout");
static_assert(offsetof(EXFUNC, exec_multi_thread_func) == 204, "EXFUNC layout");
static_assert(sizeof(EXFUNC) == 208, "EXFUNC layout");

// The plug-in table the exports return; the host hands every hook a FILTER of the same layout.
struct FILTER_DLL {
  int32_t flag;                                                    // 0
  int32_t x, y;                                                    // 4, 8: settings window size
  const char *name;                                                // 12
  int32_t track_n;                                                 // 16
  const char **track_name;                                         // 20
  int32_t *track_default, *track_s, *track_e;                      // 24, 28, 32
  int32_t check_n;                                                 // 36
  const char **check_name;                                         // 40
  int32_t *check_default;                                          // 44
  BOOL(__cdecl *func_proc)(FILTER *fp, FILTER_PROC_INFO *fpip);    // 48
  BOOL(__cdecl *func_init)(FILTER *fp);                            // 52
  BOOL(__cdecl *func_exit)(FILTER *fp);                            // 56
  BOOL(__cdecl *func_update)(FILTER *fp, int status);              // 60
  BOOL(__cdecl *func_WndProc)(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam,
                              void *editp, FILTER *fp);            // 64
  int32_t *track, *check;                                          // 68, 72
  void *ex_data_ptr;                                               // 76
  int32_t ex_data_size;                                            // 80
  const char *information;                                         // 84
  BOOL(__cdecl *func_save_start)(FILTER *fp, int s, int e, void *editp);  // 88
  BOOL(__cdecl *func_save_end)(FILTER *fp, void *editp);           // 92
  EXFUNC *exfunc;                                                  // 96
  HWND hwnd;                                                       // 100
  HINSTANCE dll_hinst;                                             // 104
  void *ex_data_def;                                               // 108
  void *func_is_saveframe;                                         // 112
  void *func_project_load;                                         // 116
  void *func_project_save;                                         // 120
  void *func_modify_title;                                         // 124
  const char *dll_path;                                            // 128
  int32_t reserve[2];                                              // 132, 136
};
struct FILTER : FILTER_DLL {};

static_assert(sizeof(FILTER_DLL) == 140, "FILTER_DLL layout");
static_assert(offsetof(FILTER_DLL, name) == 12, "FILTER_DLL layout");
static_assert(offsetof(FILTER_DLL, check_default) == 44, "FILTER_DLL layout");
static_assert(offsetof(FILTER_DLL, func_proc) == 48, "FILTER_DLL layout");
static_assert(offsetof(FILTER_DLL, func_WndProc) == 64, "FILTER_DLL layout");
static_assert(offsetof(FILTER_DLL, ex_data_ptr) == 76, "FILTER_DLL layout");
static_assert(offsetof(FILTER_DLL, information) == 84, "FILTER_DLL layout");
static_assert(offsetof(FILTER_DLL, func_save_end) == 92, "FILTER_DLL layout");
static_assert(offsetof(FILTER_DLL, exfunc) == 96, "FILTER_DLL layout");
static_assert(offsetof(FILTER_DLL, hwnd) == 100, "FILTER_DLL layout");
static_assert(offsetof(FILTER_DLL, dll_hinst) == 104, "FILTER_DLL layout");
static_assert(offsetof(FILTER_DLL, dll_path) == 128, "FILTER_DLL layout");
static_assert(sizeof(FILTER) == 140, "FILTER layout");

// The per-frame record. Both images are max_w x max_h pixels; a frame uses the top-left w x h.
struct FILTER_PROC_INFO {
  int32_t flag;                                                    // 0
  void *ycp_edit;                                                  // 4: the image
  void *ycp_temp;                                                  // 8: scratch image
  int32_t w, h;                                                    // 12, 16
  int32_t max_w, max_h;                                            // 20, 24
  int32_t frame, frame_n;                                          // 28, 32
  int32_t org_w, org_h;                                            // 36, 40
  void *audiop;                                                    // 44
  int32_t audio_n, audio_ch;                                       // 48, 52
  void *pixelp;                                                    // 56
  void *editp;                                                     // 60
  int32_t yc_size, line_size;                                      // 64, 68
  int32_t reserve[8];                                              // 72
};
static_assert(offsetof(FILTER_PROC_INFO, ycp_edit) == 4, "FILTER_PROC_INFO layout");
static_assert(offsetof(FILTER_PROC_INFO, w) == 12, "FILTER_PROC_INFO layout");
static_assert(offsetof(FILTER_PROC_INFO, max_w) == 20, "FILTER_PROC_INFO layout");
static_assert(offsetof(FILTER_PROC_INFO, max_h) == 24, "FILTER_PROC_INFO layout");
static_assert(offsetof(FILTER_PROC_INFO, audiop) == 44, "FILTER_PROC_INFO layout");
static_assert(offsetof(FILTER_PROC_INFO, editp) == 60, "FILTER_PROC_INFO layout");
static_assert(offsetof(FILTER_PROC_INFO, line_size) == 68, "FILTER_PROC_INFO layout");
static_assert(sizeof(FILTER_PROC_INFO) == 104, "FILTER_PROC_INFO layout");

struct SYS_INFO {
  int32_t flag, info, filter_n;                                    // 0, 4, 8
  int32_t min_w, min_h, max_w, max_h;                              // 12..24
  int32_t max_frame;                                               // 28
  const char *edit_name, *project_name, *output_name;             // 32, 36, 40
  int32_t vram_w, vram_h, vram_yc_size, vram_line_size;            // 44..56
  HFONT hfont;                                                     // 60
  int32_t build;                                                   // 64
  int32_t reserve[2];                                              // 68
};
static_assert(offsetof(SYS_INFO, max_w) == 20, "SYS_INFO layout");
static_assert(offsetof(SYS_INFO, hfont) == 60, "SYS_INFO layout");
static_assert(sizeof(SYS_INFO) == 76, "SYS_INFO layout");

// A YC48 pixel: three signed 16-bit samples (Y nominally 0..4096, Cb/Cr -2048..2048).
struct PIXEL_YC {
  int16_t y, cb, cr;
};
static_assert(sizeof(PIXEL_YC) == 6, "PIXEL_YC layout");

constexpr UINT WM_FILTER_INIT = WM_USER + 103;
constexpr UINT WM_FILTER_EXIT = WM_USER + 104;

constexpr int32_t FILTER_FLAG_EX_DATA = 0x400;
constexpr int32_t FILTER_FLAG_WINDOW_SIZE = 0x4000;
constexpr int32_t FILTER_FLAG_EX_INFORMATION = 0x40000;
