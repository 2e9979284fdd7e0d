#include "ModalAnswerer.h"

#include <map>

const char kWarningCaption[] = "警告";
const char kInputCaption[] = "解像度リストに追加";

namespace {

// Answerers by their timer: a thread timer's callback receives only the timer's identifier.
std::map<UINT_PTR, ModalAnswerer *> &AnswerersByTimer() {
  static std::map<UINT_PTR, ModalAnswerer *> answerers;
  return answerers;
}

std::string TextOf(HWND window) {
  char text[1024] = {};
  SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND> *>(list)->push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectVisibleWindow(HWND window, LPARAM list) {
  if (IsWindowVisible(window)) CollectWindow(window, list);
  return TRUE;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  EnumChildWindows(parent, &CollectWindow, reinterpret_cast<LPARAM>(&children));
  return children;
}

// A click on one of the window's buttons, posted so that the window's modal loop takes it
// after the answer is complete, as it would take a user's click.
void Press(HWND window, int button) {
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
}

HWND ChildOfClass(HWND parent, const char *className) {
  for (HWND child : Children(parent)) {
    if (lstrcmpiA(ClassOf(child).c_str(), className) == 0) return child;
  }
  return nullptr;
}

}  // namespace

ModalAnswerer::ModalAnswerer() : timer_(SetTimer(nullptr, 0, USER_TIMER_MINIMUM, &OnTimer)) {
  AnswerersByTimer()[timer_] = this;
}

ModalAnswerer::~ModalAnswerer() {
  KillTimer(nullptr, timer_);
  AnswerersByTimer().erase(timer_);
}

void ModalAnswerer::AnswerNextInput(const std::string &text) { inputs_.push_back({true, text}); }

void ModalAnswerer::CancelNextInput() { inputs_.push_back({false, std::string()}); }

std::vector<std::string> ModalAnswerer::TakeWarnings() {
  std::vector<std::string> taken;
  taken.swap(warnings_);
  return taken;
}

std::vector<InputWindowSeen> ModalAnswerer::TakeInputWindows() {
  std::vector<InputWindowSeen> taken;
  taken.swap(inputWindows_);
  return taken;
}

void CALLBACK ModalAnswerer::OnTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  const auto found = AnswerersByTimer().find(timer);
  if (found != AnswerersByTimer().end()) found->second->AnswerOpenWindows();
}

void ModalAnswerer::AnswerOpenWindows() {
  std::vector<HWND> windows;
  EnumThreadWindows(GetCurrentThreadId(), &CollectVisibleWindow,
                    reinterpret_cast<LPARAM>(&windows));
  for (HWND window : windows) Answer(window);
}

void ModalAnswerer::Answer(HWND window) {
  if (answered_.count(window)) return;
  const std::string caption = TextOf(window);
  if (caption == kWarningCaption) AnswerWarning(window);
  else if (caption == kInputCaption) AnswerInput(window);
  else return;
  answered_.insert(window);
}

void ModalAnswerer::AnswerWarning(HWND box) {
  std::string text;
  for (HWND child : Children(box)) {
    if (lstrcmpiA(ClassOf(child).c_str(), "Static") == 0) text += TextOf(child);
  }
  warnings_.push_back(text);
  Press(box, IDOK);
}

void ModalAnswerer::AnswerInput(HWND window) {
  InputWindowSeen seen;
  const HWND edit = ChildOfClass(window, "Edit");
  const HWND prompt = ChildOfClass(window, "Static");
  const HWND ok = GetDlgItem(window, IDOK);
  seen.Prompt = prompt ? TextOf(prompt) : std::string();
  seen.EditLimit = edit ? static_cast<int>(SendMessageA(edit, EM_GETLIMITTEXT, 0, 0)) : 0;
  seen.OkIsDefault = ok && (GetWindowLongA(ok, GWL_STYLE) & BS_DEFPUSHBUTTON) != 0;
  seen.HasCancel = GetDlgItem(window, IDCANCEL) != nullptr;
  RECT rect;
  GetWindowRect(window, &rect);
  seen.Centre = POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};

  inputWindows_.push_back(seen);
  InputAnswer answer{false, std::string()};
  if (!inputs_.empty()) {
    answer = inputs_.front();
    inputs_.pop_front();
  }
  if (answer.Confirm && edit)
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.Text.c_str()));
  Press(window, answer.Confirm ? IDOK : IDCANCEL);
}
