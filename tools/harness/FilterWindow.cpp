#include "harness/FilterWindow.h"

#include <stdexcept>
#include <vector>

namespace quorlin_harness {

namespace {

const char kClassName[] = "QuorlinTestHostFilterWindow";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

void RegisterWindowClass(WNDPROC proc) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = proc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  WNDCLASSEXA existing{};
  if (!GetClassInfoExA(wc.hInstance, kClassName, &existing)) RegisterClassExA(&wc);
}

}  // namespace

FilterWindow::FilterWindow(const std::string &title, int clientWidth, int clientHeight,
                           Kind kind, bool show, Handler handler)
    : handler_(std::move(handler)) {
  RegisterWindowClass(&FilterWindow::WindowProc);
  RECT frame{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  if (kind == Kind::TopLevel)
    hwnd_ = CreateWindowExA(0, kClassName, title.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                            frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                            instance, this);
  topLevel_ = hwnd_ != nullptr;
  if (!hwnd_) {
    hwnd_ = CreateWindowExA(0, kClassName, title.c_str(), kStyle, 0, 0, 0, 0, HWND_MESSAGE,
                            nullptr, instance, this);
  }
  if (!hwnd_) throw std::runtime_error("cannot create the filter window");
  if (show && topLevel_) ShowWindow(hwnd_, SW_SHOWNORMAL);
}

FilterWindow::~FilterWindow() {
  SetWindowLongPtrA(hwnd_, GWLP_USERDATA, 0);
  DestroyWindow(hwnd_);
}

std::string FilterWindow::Title() const {
  std::vector<char> text(GetWindowTextLengthA(hwnd_) + 1);
  const int length = GetWindowTextA(hwnd_, text.data(), static_cast<int>(text.size()));
  return std::string(text.data(), length > 0 ? length : 0);
}

LRESULT CALLBACK FilterWindow::WindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                          LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto *create = reinterpret_cast<const CREATESTRUCTA *>(lparam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto *self = reinterpret_cast<FilterWindow *>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (self && self->handler_) return self->handler_(hwnd, message, wparam, lparam);
  return DefWindowProcA(hwnd, message, wparam, lparam);
}

}  // namespace quorlin_harness
