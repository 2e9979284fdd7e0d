#include "preview/PreviewWindow.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>
#include <vector>

#include "frames/ColorConversion.h"

namespace quorlin_preview {

using namespace quorlin_harness;
using namespace quorlin_resizer;

namespace {

const char kClassName[] = "QuorlinTestHostPreview";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr UINT_PTR kRedrawPollTimer = 1;
constexpr UINT kRedrawPollMilliseconds = 50;
constexpr int kGap = 8;  // between the filter window and the preview

struct PreviewState {
  HostSession *session = nullptr;
  int shownRedraws = -1;
  std::vector<uint8_t> bgr;  // bottom-up rows of 24-bit pixels, 4-byte aligned
  int width = 0, height = 0;
};

uint8_t Clamp8(double value) {
  return static_cast<uint8_t>(std::min(255.0, std::max(0.0, value + 0.5)));
}

// BT.601 studio range to full-range RGB, for display only.
void StoreRgb(uint8_t y, uint8_t u, uint8_t v, uint8_t *bgr) {
  const double luma = (y - 16) * 255.0 / 219.0;
  const double cb = (u - 128) * 255.0 / 224.0, cr = (v - 128) * 255.0 / 224.0;
  bgr[0] = Clamp8(luma + 1.772 * cb);
  bgr[1] = Clamp8(luma - 0.344136 * cb - 0.714136 * cr);
  bgr[2] = Clamp8(luma + 1.402 * cr);
}

// Takes the session's current output as a bitmap.
void CaptureOutput(PreviewState &state) {
  const FrameView view = state.session->Output();
  if (!view.pixels) return;
  Y4mFrame frame;
  if (state.session->Options().yuy2)
    Yuy2ToY4m(view.pixels, view.width, view.height, view.strideBytes, frame);
  else
    Yc48ToY4m(view.pixels, view.width, view.height, view.strideBytes, frame);
  state.width = frame.width;
  state.height = frame.height;
  const size_t rowBytes = (static_cast<size_t>(frame.width) * 3 + 3) & ~size_t{3};
  state.bgr.assign(rowBytes * frame.height, 0);
  const int chromaWidth = frame.ChromaWidth();
  for (int y = 0; y < frame.height; ++y) {
    uint8_t *row = &state.bgr[rowBytes * (frame.height - 1 - y)];
    for (int x = 0; x < frame.width; ++x) {
      const size_t chroma = static_cast<size_t>(y) * chromaWidth + x * chromaWidth / frame.width;
      StoreRgb(frame.y[static_cast<size_t>(y) * frame.width + x], frame.u[chroma], frame.v[chroma],
               row + 3 * x);
    }
  }
}

void FitClientArea(HWND window, int width, int height) {
  RECT frame{0, 0, width, height};
  AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
  SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Refresh(HWND window, PreviewState &state) {
  if (state.session->RedrawCount() == state.shownRedraws) return;
  state.shownRedraws = state.session->RedrawCount();
  CaptureOutput(state);
  FitClientArea(window, state.width, state.height);
  InvalidateRect(window, nullptr, FALSE);
}

void Paint(HWND window, const PreviewState &state) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(window, &paint);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = state.width;
  info.bmiHeader.biHeight = state.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  if (!state.bgr.empty())
    SetDIBitsToDevice(dc, 0, 0, state.width, state.height, 0, 0, 0, state.height,
                      state.bgr.data(), &info, DIB_RGB_COLORS);
  EndPaint(window, &paint);
}

LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    const auto *create = reinterpret_cast<const CREATESTRUCTA *>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto *state = reinterpret_cast<PreviewState *>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_TIMER:
      if (state) Refresh(window, *state);
      return 0;
    case WM_PAINT:
      if (state) {
        Paint(window, *state);
        return 0;
      }
      break;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

HWND CreatePreview(PreviewState &state, HWND filterWindow) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &PreviewProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  wc.lpszClassName = kClassName;
  RegisterClassExA(&wc);
  RECT filter;
  GetWindowRect(filterWindow, &filter);
  const HWND window = CreateWindowExA(0, kClassName, "Quorlin preview", kStyle, filter.right + kGap,
                                      filter.top, 320, 240, nullptr, nullptr, wc.hInstance, &state);
  if (!window) throw std::runtime_error("cannot create the preview window");
  return window;
}

}  // namespace

int RunPreview(HostSession &session, const FrameInput &frame) {
  if (!session.WindowIsTopLevel()) throw std::runtime_error("--window needs a display");
  if (!session.ProcessFrame(frame)) throw std::runtime_error("func_proc failed");
  const HWND filterWindow = session.WindowHandle();
  SetWindowPos(filterWindow, nullptr, kGap, kGap, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(filterWindow, SW_SHOWNORMAL);
  PreviewState state;
  state.session = &session;
  const HWND preview = CreatePreview(state, filterWindow);
  Refresh(preview, state);
  ShowWindow(preview, SW_SHOWNORMAL);
  SetTimer(preview, kRedrawPollTimer, kRedrawPollMilliseconds, nullptr);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    // The dialog's keyboard handling (tab order, arrow keys) inside the filter window.
    if (IsDialogMessageA(filterWindow, &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

}  // namespace quorlin_preview
