#include "dialog/PanelWindow.h"

#include <string>
#include <vector>

#include "common/HostBoundary.h"

const char kPanelClassName[] = "QuorlinDialogPanel";

namespace {

// Window extra bytes: the PanelEvents pointer, then the font set with WM_SETFONT.
constexpr int kEventsSlot = 0;
constexpr int kFontSlot = sizeof(LONG_PTR);

const PanelEvents *EventsOf(HWND panel) {
  return reinterpret_cast<const PanelEvents *>(GetWindowLongPtrA(panel, kEventsSlot));
}

std::string WindowText(HWND window) {
  std::vector<char> text(GetWindowTextLengthA(window) + 1);
  const int length = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  return std::string(text.data(), length > 0 ? length : 0);
}

void Paint(HWND panel) {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(panel, &paint);
  RECT client;
  GetClientRect(panel, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  const std::string caption = WindowText(panel);
  if (!caption.empty()) {
    const HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HFONT>(GetWindowLongPtrA(panel, kFontSlot)));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &client,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, oldFont);
  }
  EndPaint(panel, &paint);
}

LRESULT HandleMessage(HWND panel, UINT message, WPARAM wparam, LPARAM lparam) {
  const PanelEvents *events = EventsOf(panel);
  switch (message) {
    case WM_COMMAND:
      if (events && lparam != 0) return events->OnCommand(events->Context, wparam, lparam);
      break;
    case WM_NOTIFY:
      if (events) return events->OnNotify(events->Context, reinterpret_cast<const NMHDR *>(lparam));
      break;
    case WM_SETFONT:
      SetWindowLongPtrA(panel, kFontSlot, static_cast<LONG_PTR>(wparam));
      if (LOWORD(lparam)) InvalidateRect(panel, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return GetWindowLongPtrA(panel, kFontSlot);
    case WM_SETTEXT: {
      const LRESULT result = DefWindowProcA(panel, message, wparam, lparam);
      InvalidateRect(panel, nullptr, TRUE);
      return result;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(panel);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(panel, message, wparam, lparam);
}

// Handlers behind the panel must not unwind into the system's message dispatch.
LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wparam, LPARAM lparam) {
  return GuardHostCall<LRESULT>(0, [=] { return HandleMessage(panel, message, wparam, lparam); });
}

}  // namespace

void RegisterPanelClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = &PanelProc;
  wc.cbWndExtra = 2 * sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kPanelClassName;
  RegisterClassExA(&wc);
}

void UnregisterPanelClass(HINSTANCE instance) { UnregisterClassA(kPanelClassName, instance); }

void SetPanelEvents(HWND panel, const PanelEvents *events) {
  SetWindowLongPtrA(panel, kEventsSlot, reinterpret_cast<LONG_PTR>(events));
}

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

namespace {

BOOL CALLBACK SetChildVisible(HWND child, LPARAM visible) {
  ShowWindow(child, visible ? SW_SHOWNA : SW_HIDE);
  return TRUE;
}

}  // namespace

void SetVisibleDeep(HWND control, bool visible) {
  // EnumChildWindows already walks the children's children.
  EnumChildWindows(control, &SetChildVisible, visible ? 1 : 0);
  ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
}
