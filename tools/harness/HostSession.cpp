#include "harness/HostSession.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "harness/FilterWindow.h"
#include "harness/HiddenDesktop.h"
#include "harness/FrameBuffer.h"
#include "harness/WorkerPool.h"

namespace quorlin_harness {

namespace {

// The one live session: get_sys_info and exec_multi_thread_func carry no handle to find it by.
HostSession *liveSession = nullptr;

// Client size of a filter window whose plug-in table does not give one.
constexpr int kDefaultWindowWidth = 320;
constexpr int kDefaultWindowHeight = 240;
// The editor release that the host reports in SYS_INFO build (1.10).
constexpr int32_t kHostBuild = 11003;
// func_update's status for "everything may have changed".
constexpr int kUpdateStatusAll = 0;

std::string LastErrorText() { return "error " + std::to_string(GetLastError()); }

}  // namespace

// The EXFUNC services. Each one finds the live session and checks that the handle it was
// given is that session's, as the editor would.
struct HostServices {
  static BOOL __cdecl IsSaving(void *editp) {
    return liveSession && editp == liveSession->EditHandle() && liveSession->saving_;
  }

  static BOOL __cdecl IsFilterActive(FILTER *fp) {
    return liveSession && fp == &liveSession->filter_ && liveSession->filterActive_;
  }

  static BOOL __cdecl GetSysInfo(void *, SYS_INFO *sip) {
    if (!liveSession || !sip) return FALSE;
    const HostSessionOptions &options = liveSession->options_;
    *sip = SYS_INFO{};
    sip->filter_n = 1;
    sip->min_w = 1;
    sip->min_h = 1;
    sip->max_w = options.maxWidth;
    sip->max_h = options.maxHeight;
    sip->max_frame = liveSession->currentInput_.frameCount;
    sip->vram_w = options.maxWidth;
    sip->vram_h = options.maxHeight;
    sip->vram_yc_size = liveSession->BytesPerPixel();
    sip->vram_line_size = options.maxWidth * liveSession->BytesPerPixel();
    sip->hfont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    sip->build = kHostBuild;
    return TRUE;
  }

  static BOOL __cdecl ExecMultiThreadFunc(MULTI_THREAD_FUNC func, void *param1, void *param2) {
    if (!liveSession || !func) return FALSE;
    liveSession->workers_->Run(func, param1, param2);
    return TRUE;
  }
};

HostSession::HostSession(const HostSessionOptions &options) : options_(options) {
  if (liveSession) throw std::logic_error("another host session is alive");
  if (options.maxWidth <= 0 || options.maxHeight <= 0)
    throw std::invalid_argument("the maximum image size must be positive");
  liveSession = this;
  try {
    Start();
  } catch (...) {
    Stop();
    throw;
  }
}

HostSession::~HostSession() { Stop(); }

void HostSession::Start() {
  exfunc_.is_saving = &HostServices::IsSaving;
  exfunc_.is_filter_active = &HostServices::IsFilterActive;
  exfunc_.get_sys_info = &HostServices::GetSysInfo;
  if (options_.multiThreadService) {
    workers_ = std::make_unique<WorkerPool>(options_.threads);
    exfunc_.exec_multi_thread_func = &HostServices::ExecMultiThreadFunc;
  }
  const size_t imageBytes =
      static_cast<size_t>(options_.maxWidth) * options_.maxHeight * BytesPerPixel();
  for (int i = 0; i < 2 + std::max(options_.extraImages, 0); ++i)
    images_.push_back(std::make_unique<FrameBuffer>(imageBytes));
  editImage_ = images_[0]->Data();

  LoadPlugin();
  if (filter_.func_init && !filter_.func_init(&filter_))
    throw std::runtime_error("func_init of " + options_.aufPath + " failed");
  initialized_ = true;
  OpenFilterWindow();
  if (filter_.func_update) filter_.func_update(&filter_, kUpdateStatusAll);
}

void HostSession::LoadPlugin() {
  module_ = LoadLibraryA(options_.aufPath.c_str());
  if (!module_)
    throw std::runtime_error("cannot load " + options_.aufPath + " (" + LastErrorText() + ")");
  const char *exportName = options_.yuy2 ? "GetFilterTableYUY2" : "GetFilterTable";
  typedef FILTER_DLL *(__stdcall * GetFilterTableFunc)();
  const auto getTable = reinterpret_cast<GetFilterTableFunc>(
      reinterpret_cast<void *>(GetProcAddress(module_, exportName)));
  if (!getTable)
    throw std::runtime_error(options_.aufPath + " does not export " + exportName);
  const FILTER_DLL *table = getTable();
  if (!table) throw std::runtime_error(std::string(exportName) + " returned no table");
  // The host works on its own copy of the table; only ex_data_ptr still points into the
  // plug-in, whose memory the host reads and writes for project saves and loads.
  std::memcpy(static_cast<FILTER_DLL *>(&filter_), table, sizeof(FILTER_DLL));
  filter_.exfunc = &exfunc_;
  filter_.hwnd = nullptr;
  filter_.dll_hinst = module_;
}

void HostSession::OpenFilterWindow() {
  if (options_.filterWindow == FilterWindowUse::None) return;
  if (options_.filterWindow == FilterWindowUse::TitleOnly) UseHiddenDesktop();
  const bool sized = (filter_.flag & FILTER_FLAG_WINDOW_SIZE) != 0;
  window_ = std::make_unique<FilterWindow>(
      filter_.name ? filter_.name : options_.aufPath, sized ? filter_.x : kDefaultWindowWidth,
      sized ? filter_.y : kDefaultWindowHeight,
      options_.filterWindow == FilterWindowUse::TitleOnly ? FilterWindow::Kind::MessageOnly
                                                          : FilterWindow::Kind::TopLevel,
      options_.showWindow,
      [this](HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
        return OnWindowMessage(hwnd, message, wparam, lparam);
      });
  filter_.hwnd = window_->Handle();
  if (options_.filterWindow == FilterWindowUse::TitleOnly) return;
  forwardMessages_ = true;
  SendFilterMessage(WM_FILTER_INIT);
}

void HostSession::Stop() {
  if (forwardMessages_) {
    SendMessageA(window_->Handle(), WM_FILTER_EXIT, 0, 0);
    forwardMessages_ = false;
    PumpMessages();
  }
  if (initialized_ && filter_.func_exit) filter_.func_exit(&filter_);
  initialized_ = false;
  window_.reset();
  PumpMessages();
  if (module_) FreeLibrary(module_);
  module_ = nullptr;
  workers_.reset();
  liveSession = nullptr;
}

void HostSession::CheckFrameSize(const FrameInput &input) const {
  if (input.width <= 0 || input.height <= 0 || input.width > options_.maxWidth ||
      input.height > options_.maxHeight)
    throw std::invalid_argument("frame size outside 1x1 .. the maximum image size");
}

bool HostSession::ProcessFrame(const FrameInput &input) {
  if (!input.pixels) throw std::invalid_argument("frame without pixels");
  CheckFrameSize(input);
  const size_t rowBytes = static_cast<size_t>(input.width) * BytesPerPixel();
  if (input.strideBytes < static_cast<ptrdiff_t>(rowBytes))
    throw std::invalid_argument("frame stride shorter than a row");
  currentFrame_.resize(rowBytes * input.height);
  for (int y = 0; y < input.height; ++y) {
    std::memcpy(&currentFrame_[rowBytes * y],
                static_cast<const uint8_t *>(input.pixels) + input.strideBytes * y, rowBytes);
  }
  currentInput_ = input;
  currentInput_.pixels = currentFrame_.data();
  currentInput_.strideBytes = static_cast<ptrdiff_t>(rowBytes);
  hasFrame_ = true;
  CopyCurrentFrameToEditImage();
  return RunFuncProc(ImageOtherThan(editImage_));
}

bool HostSession::ProcessImage(const FrameInput &input, uint8_t *edit, uint8_t *temp) {
  CheckFrameSize(input);
  const std::vector<uint8_t *> images = Images();
  const auto isImage = [&](uint8_t *image) {
    return std::find(images.begin(), images.end(), image) != images.end();
  };
  if (!isImage(edit) || !isImage(temp) || edit == temp)
    throw std::invalid_argument("ProcessImage needs two distinct images of the session");
  currentFrame_.clear();
  currentInput_ = input;
  currentInput_.pixels = nullptr;
  hasFrame_ = false;
  editImage_ = edit;
  return RunFuncProc(temp);
}

std::vector<uint8_t *> HostSession::Images() const {
  std::vector<uint8_t *> images;
  for (const auto &image : images_) images.push_back(static_cast<uint8_t *>(image->Data()));
  return images;
}

ptrdiff_t HostSession::ImageStrideBytes() const {
  return static_cast<ptrdiff_t>(options_.maxWidth) * BytesPerPixel();
}

void *HostSession::ImageOtherThan(void *image) const {
  return images_[0]->Data() == image ? images_[1]->Data() : images_[0]->Data();
}

void HostSession::CopyCurrentFrameToEditImage() {
  const size_t rowBytes = static_cast<size_t>(currentInput_.width) * BytesPerPixel();
  const size_t lineBytes = static_cast<size_t>(options_.maxWidth) * BytesPerPixel();
  for (int y = 0; y < currentInput_.height; ++y) {
    std::memcpy(static_cast<uint8_t *>(editImage_) + lineBytes * y,
                &currentFrame_[rowBytes * y], rowBytes);
  }
}

bool HostSession::RunFuncProc(void *temp) {
  const size_t lineBytes = static_cast<size_t>(options_.maxWidth) * BytesPerPixel();
  procInfo_ = FILTER_PROC_INFO{};
  procInfo_.ycp_edit = editImage_;
  procInfo_.ycp_temp = temp;
  procInfo_.w = currentInput_.width;
  procInfo_.h = currentInput_.height;
  procInfo_.max_w = options_.maxWidth;
  procInfo_.max_h = options_.maxHeight;
  procInfo_.frame = currentInput_.frame;
  procInfo_.frame_n = currentInput_.frameCount;
  procInfo_.org_w = currentInput_.width;
  procInfo_.org_h = currentInput_.height;
  procInfo_.editp = EditHandle();
  procInfo_.yc_size = BytesPerPixel();
  procInfo_.line_size = static_cast<int32_t>(lineBytes);

  const BOOL result = filter_.func_proc ? filter_.func_proc(&filter_, &procInfo_) : TRUE;
  CheckFuncProcResult(editImage_, temp);
  editImage_ = procInfo_.ycp_edit;
  hasOutput_ = true;
  return result != 0;
}

void HostSession::CheckFuncProcResult(void *edit, void *temp) const {
  const bool imagesIntact = (procInfo_.ycp_edit == edit && procInfo_.ycp_temp == temp) ||
                            (procInfo_.ycp_edit == temp && procInfo_.ycp_temp == edit);
  if (!imagesIntact)
    throw std::runtime_error("func_proc left ycp_edit/ycp_temp not pointing at the two images");
  if (procInfo_.w <= 0 || procInfo_.h <= 0 || procInfo_.w > options_.maxWidth ||
      procInfo_.h > options_.maxHeight)
    throw std::runtime_error("func_proc left a frame size outside the maximum image size: " +
                             std::to_string(procInfo_.w) + "x" + std::to_string(procInfo_.h));
}

FrameView HostSession::Output() const {
  if (!hasOutput_) return FrameView{};
  FrameView view;
  view.pixels = static_cast<const uint8_t *>(procInfo_.ycp_edit);
  view.width = procInfo_.w;
  view.height = procInfo_.h;
  view.strideBytes = static_cast<ptrdiff_t>(options_.maxWidth) * BytesPerPixel();
  return view;
}

bool HostSession::SaveStart(int firstFrame, int lastFrame) {
  saving_ = true;
  if (!filter_.func_save_start) return true;
  return filter_.func_save_start(&filter_, firstFrame, lastFrame, EditHandle()) != 0;
}

bool HostSession::SaveEnd() {
  const bool result = !filter_.func_save_end || filter_.func_save_end(&filter_, EditHandle());
  saving_ = false;
  return result;
}

bool HostSession::LoadProject(const std::vector<uint8_t> &bytes) {
  if (!(filter_.flag & FILTER_FLAG_EX_DATA) || !filter_.ex_data_ptr || filter_.ex_data_size <= 0)
    throw std::invalid_argument("the plug-in keeps no extra data in projects");
  if (bytes.size() != static_cast<size_t>(filter_.ex_data_size))
    throw std::invalid_argument("project data of " + std::to_string(bytes.size()) +
                                " bytes for extra data of " +
                                std::to_string(filter_.ex_data_size) + " bytes");
  std::memcpy(filter_.ex_data_ptr, bytes.data(), bytes.size());
  return !filter_.func_update || filter_.func_update(&filter_, kUpdateStatusAll);
}

std::vector<uint8_t> HostSession::ExData() const {
  if (!filter_.ex_data_ptr || filter_.ex_data_size <= 0) return {};
  const auto *bytes = static_cast<const uint8_t *>(filter_.ex_data_ptr);
  return std::vector<uint8_t>(bytes, bytes + filter_.ex_data_size);
}

LRESULT HostSession::SendFilterMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  lastWndProcResult_ = 0;
  SendMessageA(window_->Handle(), message, wparam, lparam);
  if (!redrawError_.empty()) {
    const std::string error = redrawError_;
    redrawError_.clear();
    throw std::runtime_error(error);
  }
  return lastWndProcResult_;
}

void HostSession::PumpMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

LRESULT HostSession::OnWindowMessage(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CLOSE) {  // closing only hides the window, as in the editor
    ShowWindow(hwnd, SW_HIDE);
    return 0;
  }
  if (!forwardMessages_ || !filter_.func_WndProc)
    return DefWindowProcA(hwnd, message, wparam, lparam);
  const LRESULT result =
      filter_.func_WndProc(hwnd, message, wparam, lparam, EditHandle(), &filter_);
  lastWndProcResult_ = result;
  if (result && message != WM_FILTER_EXIT) Redraw();  // the filter is going away
  return message >= WM_USER ? result : DefWindowProcA(hwnd, message, wparam, lparam);
}

// Runs inside the window procedure, so a fault is kept for SendFilterMessage to report:
// exceptions must not unwind through the system's message dispatch.
void HostSession::Redraw() {
  if (!hasFrame_) return;
  ++redraws_;
  try {
    CopyCurrentFrameToEditImage();
    RunFuncProc(ImageOtherThan(editImage_));
  } catch (const std::exception &e) {
    redrawError_ = e.what();
  }
}

HWND HostSession::WindowHandle() const { return window_ ? window_->Handle() : nullptr; }

bool HostSession::WindowIsTopLevel() const { return window_ && window_->IsTopLevel(); }

std::string HostSession::WindowTitle() const { return window_ ? window_->Title() : std::string(); }

}  // namespace quorlin_harness
