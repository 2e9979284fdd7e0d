#include "dialog/TextInputWindow.h"

#include <vector>

#include "common/HostBoundary.h"
#include "dialog/PanelWindow.h"

namespace {

const char kClassName[] = "QuorlinTextInput";
constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME;
constexpr int kEditId = 100;

// Client layout in pixels.
constexpr int kClientWidth = 260, kClientHeight = 94;
constexpr int kMargin = 8;
constexpr int kPromptTop = 8, kPromptHeight = 14;
constexpr int kEditTop = 26, kEditHeight = 22;
constexpr int kButtonTop = 60, kButtonWidth = 75, kButtonHeight = 25, kButtonGap = 8;

struct InputState {
  HWND Edit = nullptr;
  bool Done = false;
  bool Confirmed = false;
  std::string Text;
};

std::string WindowText(HWND window) {
  std::vector<char> text(GetWindowTextLengthA(window) + 1);
  const int length = GetWindowTextA(window, text.data(), static_cast<int>(text.size()));
  return std::string(text.data(), length > 0 ? length : 0);
}

void Finish(HWND window, InputState &state, bool confirmed) {
  state.Confirmed = confirmed;
  if (confirmed) state.Text = WindowText(state.Edit);
  state.Done = true;
  DestroyWindow(window);
  // Wakes the modal loop, which may be waiting in GetMessage while a sent message ended it.
  PostMessageA(nullptr, WM_NULL, 0, 0);
}

LRESULT HandleMessage(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto *state = reinterpret_cast<InputState *>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    const auto *create = reinterpret_cast<const CREATESTRUCTA *>(lparam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  } else if (state && !state->Done) {
    if (message == WM_COMMAND && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL) &&
        HIWORD(wparam) == BN_CLICKED) {
      Finish(window, *state, LOWORD(wparam) == IDOK);
      return 0;
    }
    if (message == WM_CLOSE) {
      Finish(window, *state, false);
      return 0;
    }
  }
  return DefWindowProcA(window, message, wparam, lparam);
}

LRESULT CALLBACK InputProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  return GuardHostCall<LRESULT>(0, [=] { return HandleMessage(window, message, wparam, lparam); });
}

void RegisterInputClass(HINSTANCE instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &InputProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  wc.lpszClassName = kClassName;
  RegisterClassExA(&wc);
}

HWND AddChild(HWND parent, HFONT font, const char *className, const char *text, DWORD style,
              DWORD exStyle, int id, int left, int top, int width, int height) {
  const HWND child = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, left,
                                     top, width, height, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     ThisModule(), nullptr);
  SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  return child;
}

HWND CreateInputWindow(HWND owner, HFONT font, const TextInputRequest &request, InputState &state) {
  RECT frame{0, 0, kClientWidth, kClientHeight};
  AdjustWindowRectEx(&frame, kStyle, FALSE, kExStyle);
  const int width = frame.right - frame.left, height = frame.bottom - frame.top;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  const HWND window = CreateWindowExA(kExStyle, kClassName, request.Caption.c_str(), kStyle, left,
                                      top, width, height, owner, nullptr, ThisModule(), &state);
  if (!window) return nullptr;
  const int innerWidth = kClientWidth - 2 * kMargin;
  AddChild(window, font, "STATIC", request.Prompt.c_str(), SS_LEFT | SS_NOPREFIX, 0, -1, kMargin,
           kPromptTop, innerWidth, kPromptHeight);
  state.Edit = AddChild(window, font, "EDIT", "", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                        kEditId, kMargin, kEditTop, innerWidth, kEditHeight);
  SendMessageA(state.Edit, EM_LIMITTEXT, request.MaxLength, 0);
  const int cancelLeft = kClientWidth - kMargin - kButtonWidth;
  const int okLeft = cancelLeft - kButtonGap - kButtonWidth;
  AddChild(window, font, "BUTTON", "OK", WS_TABSTOP | BS_DEFPUSHBUTTON, 0, IDOK, okLeft,
           kButtonTop, kButtonWidth, kButtonHeight);
  AddChild(window, font, "BUTTON", "Cancel", WS_TABSTOP | BS_PUSHBUTTON, 0, IDCANCEL, cancelLeft,
           kButtonTop, kButtonWidth, kButtonHeight);
  return window;
}

// Runs the window's messages until it closes; a WM_QUIT ends the loop and is passed on.
void RunModalLoop(HWND window, InputState &state) {
  MSG msg;
  while (!state.Done) {
    const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
      DestroyWindow(window);
      state.Done = true;
      break;
    }
    if (!IsDialogMessageA(window, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
}

}  // namespace

bool AskForText(HWND owner, HFONT font, const TextInputRequest &request, std::string &text) {
  const HINSTANCE instance = ThisModule();
  RegisterInputClass(instance);
  InputState state;
  const HWND window = CreateInputWindow(owner, font, request, state);
  if (!window) {
    UnregisterClassA(kClassName, instance);
    return false;
  }
  const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
  if (ownerWasEnabled) EnableWindow(owner, FALSE);
  ShowWindow(window, SW_SHOWNORMAL);
  SetFocus(state.Edit);
  RunModalLoop(window, state);
  if (ownerWasEnabled) EnableWindow(owner, TRUE);
  UnregisterClassA(kClassName, instance);
  if (state.Confirmed) text = state.Text;
  return state.Confirmed;
}
