// The harness's session: plays the video editor's part for one filter plug-in (.auf).
//
// A session loads the library, takes its plug-in table, copies it into the host's own FILTER
// record, fills in the service table, the filter window and the module handle, and drives the
// hooks in the editor's order:
//   export -> func_init -> filter window (WM_FILTER_INIT) -> func_update -> frames, saves,
//   project loads, window messages -> WM_FILTER_EXIT -> func_exit -> FreeLibrary.
// Construction runs everything up to func_update; destruction runs the rest.
//
// Like the editor, the host has one instance per process: at most one session may be alive at a
// time (the services get_sys_info and exec_multi_thread_func carry no handle to find it by).
// Every call must come from the thread that created the session, which owns the filter window.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "hostsdk/AviUtlPlugin.h"

namespace quorlin_harness {

// What the filter window is for. Panel: the editor's window, which the plug-in fills with its
// controls (top-level; message-only where there is no display). TitleOnly: a message-only window
// that only carries the title the plug-in writes its save timing into, made on a hidden desktop;
// it gets no WM_FILTER_INIT, since a window without a display cannot hold controls and Wine
// reports every attempt. None: no window at all, for runs that neither show the panel nor time a save (the
// first window of a process makes Wine start its desktop, which reports its own failure
// without a display).
enum class FilterWindowUse { Panel, TitleOnly, None };

struct HostSessionOptions {
  std::string aufPath;         // the plug-in library to load
  bool yuy2 = false;           // take the table through "GetFilterTableYUY2", frames are YUY2
  int threads = 0;             // worker threads of exec_multi_thread_func; 0: one per processor
  bool multiThreadService = true;  // false: EXFUNC's exec_multi_thread_func is null
  int maxWidth = 2304;         // largest image: SYS_INFO max_w/max_h and the frame buffers
  int maxHeight = 1440;
  bool showWindow = false;     // show the filter window (screenshots); hidden otherwise
  FilterWindowUse filterWindow = FilterWindowUse::Panel;
  int extraImages = 0;         // images beyond the editor's two, for frames filled ahead
};

// One frame handed to the filter: `height` rows of `width` pixels, `strideBytes` apart.
// Pixels are PIXEL_YC (6 bytes) in YC48 mode, packed Y0 U Y1 V bytes in YUY2 mode.
struct FrameInput {
  const void *pixels = nullptr;
  int width = 0;
  int height = 0;
  ptrdiff_t strideBytes = 0;
  int frame = 0;       // FILTER_PROC_INFO frame
  int frameCount = 0;  // FILTER_PROC_INFO frame_n
};

// The image behind ycp_edit after func_proc: `height` rows of `width` pixels, `strideBytes`
// (max_w x bytes per pixel) apart. Valid until the next frame, redraw or the session's end.
struct FrameView {
  const uint8_t *pixels = nullptr;
  int width = 0;
  int height = 0;
  ptrdiff_t strideBytes = 0;
};

class WorkerPool;
class FilterWindow;
class FrameBuffer;

class HostSession {
 public:
  // Loads and starts the plug-in. Throws std::runtime_error when the library, its export or
  // the window cannot be had, and std::logic_error when another session is alive.
  explicit HostSession(const HostSessionOptions &options);
  // WM_FILTER_EXIT, func_exit, window destroyed, FreeLibrary.
  ~HostSession();
  HostSession(const HostSession &) = delete;
  HostSession &operator=(const HostSession &) = delete;

  // Copies the frame into ycp_edit (top-left corner) and calls func_proc; returns its result.
  // The frame becomes the current frame that redraws process again. Throws
  // std::invalid_argument when the frame exceeds the maximum image size, and
  // std::runtime_error when func_proc leaves ycp_edit/ycp_temp pointing at anything but the
  // host's two images or a size outside max_w x max_h.
  bool ProcessFrame(const FrameInput &input);
  // Calls func_proc on a frame of `input`'s size (input.pixels and strideBytes are not used)
  // that the caller has already written into host image `edit`, with host image `temp` as its
  // scratch image: two distinct entries of Images(). This is the way of a long run of frames,
  // filled into spare images ahead of time and without ProcessFrame's copies. The frame is not
  // kept, so redraws process nothing until the next ProcessFrame. Throws as ProcessFrame does,
  // and std::invalid_argument for images that are not the session's.
  bool ProcessImage(const FrameInput &input, uint8_t *edit, uint8_t *temp);
  // The host's images: the two of ProcessFrame, then HostSessionOptions::extraImages more.
  // Rows are ImageStrideBytes() apart. A caller may fill any image that no func_proc call is
  // using and whose output it no longer needs, on any thread.
  std::vector<uint8_t *> Images() const;
  ptrdiff_t ImageStrideBytes() const;
  // The result of the last func_proc (frame or redraw); empty before the first frame.
  FrameView Output() const;

  // Save run: is_saving turns true, func_save_start(fp, first, last, editp) is called;
  // SaveEnd calls func_save_end(fp, editp), then is_saving turns false. Return the hook's result.
  bool SaveStart(int firstFrame, int lastFrame);
  bool SaveEnd();
  bool IsSaving() const { return saving_; }

  // Project load: writes `bytes` into the plug-in's own ex_data_ptr memory (exactly
  // ex_data_size bytes) and calls func_update(fp, 0). Returns func_update's result. Throws
  // std::invalid_argument when the size differs from ex_data_size or the plug-in has no
  // extra data.
  bool LoadProject(const std::vector<uint8_t> &bytes);
  // The plug-in's extra data as the host would store it in a project.
  std::vector<uint8_t> ExData() const;

  // Sends a message to the filter window (SendMessageA) and returns func_WndProc's result. A
  // non-zero result has already redrawn the current frame (func_proc again) when one exists.
  LRESULT SendFilterMessage(UINT message, WPARAM wparam = 0, LPARAM lparam = 0);
  // Handles the messages waiting in this thread's queue (e.g. a dialog's deferred release).
  void PumpMessages();
  // func_proc calls made because func_WndProc asked for a redraw.
  int RedrawCount() const { return redraws_; }

  // What is_filter_active answers; true unless set otherwise.
  void SetFilterActive(bool active) { filterActive_ = active; }

  const FILTER &Filter() const { return filter_; }
  HWND WindowHandle() const;
  // False when no display was available and the window is a message-only window: the title
  // still works, child controls cannot be created in it.
  bool WindowIsTopLevel() const;
  std::string WindowTitle() const;  // GetWindowTextA of the filter window
  const HostSessionOptions &Options() const { return options_; }
  int BytesPerPixel() const { return options_.yuy2 ? 2 : 6; }

 private:
  friend struct HostServices;

  void Start();
  void Stop();
  void LoadPlugin();
  void OpenFilterWindow();
  void CheckFrameSize(const FrameInput &input) const;
  void CopyCurrentFrameToEditImage();
  bool RunFuncProc(void *temp);
  void CheckFuncProcResult(void *edit, void *temp) const;
  void *ImageOtherThan(void *image) const;
  LRESULT OnWindowMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  void Redraw();
  void *EditHandle() { return &editHandle_; }

  HostSessionOptions options_;
  HMODULE module_ = nullptr;
  FILTER filter_{};
  EXFUNC exfunc_{};
  std::unique_ptr<WorkerPool> workers_;
  std::unique_ptr<FilterWindow> window_;
  std::vector<std::unique_ptr<FrameBuffer>> images_;
  FILTER_PROC_INFO procInfo_{};
  void *editImage_ = nullptr;          // the image the next frame is copied into
  std::vector<uint8_t> currentFrame_;  // the last input, packed rows, for redraws
  FrameInput currentInput_{};
  bool hasFrame_ = false;
  bool hasOutput_ = false;
  bool initialized_ = false;      // func_init succeeded: func_exit is due
  bool forwardMessages_ = false;  // between WM_FILTER_INIT and WM_FILTER_EXIT
  bool saving_ = false;
  bool filterActive_ = true;
  LRESULT lastWndProcResult_ = 0;
  std::string redrawError_;  // a fault found during a redraw inside the window procedure
  int redraws_ = 0;
  int editHandle_ = 0;  // its address is the opaque editp
};

}  // namespace quorlin_harness
