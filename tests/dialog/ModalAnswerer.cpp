#include "ModalAnswerer.h"

#include <chrono>

const char kWarningCaption[] = "警告";
const char kInputCaption[] = "解像度リストに追加";

namespace {

// Every message goes to a window of the UI thread, which answers only while it pumps. A plain
// SendMessage could wait for ever: the UI thread does not pump while it ends the answerer, and
// a message sent to a window it is destroying stays unanswered. So every send gives up after a
// while; an unanswered window is simply looked at again on the next round.
LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 1000, &result);
  return static_cast<LRESULT>(result);
}

std::string TextOf(HWND window) {
  char text[1024] = {};
  SendBounded(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
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

HWND ChildOfClass(HWND parent, const char *className) {
  for (HWND child : Children(parent)) {
    if (lstrcmpiA(ClassOf(child).c_str(), className) == 0) return child;
  }
  return nullptr;
}

}  // namespace

ModalAnswerer::ModalAnswerer(DWORD uiThread) : uiThread_(uiThread), thread_([this] { Run(); }) {}

ModalAnswerer::~ModalAnswerer() {
  stop_ = true;
  thread_.join();
}

void ModalAnswerer::AnswerNextInput(const std::string &text) {
  std::lock_guard<std::mutex> lock(mutex_);
  inputs_.push_back({true, text});
}

void ModalAnswerer::CancelNextInput() {
  std::lock_guard<std::mutex> lock(mutex_);
  inputs_.push_back({false, std::string()});
}

std::vector<std::string> ModalAnswerer::TakeWarnings() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::string> taken;
  taken.swap(warnings_);
  return taken;
}

std::vector<InputWindowSeen> ModalAnswerer::TakeInputWindows() {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<InputWindowSeen> taken;
  taken.swap(inputWindows_);
  return taken;
}

void ModalAnswerer::Run() {
  while (!stop_) {
    std::vector<HWND> windows;
    EnumThreadWindows(uiThread_, &CollectVisibleWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) Answer(window);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
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
  {
    std::lock_guard<std::mutex> lock(mutex_);
    warnings_.push_back(text);
  }
  SendBounded(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void ModalAnswerer::AnswerInput(HWND window) {
  InputWindowSeen seen;
  const HWND edit = ChildOfClass(window, "Edit");
  const HWND prompt = ChildOfClass(window, "Static");
  const HWND ok = GetDlgItem(window, IDOK);
  seen.Prompt = prompt ? TextOf(prompt) : std::string();
  seen.EditLimit = edit ? static_cast<int>(SendBounded(edit, EM_GETLIMITTEXT, 0, 0)) : 0;
  seen.OkIsDefault = ok && (GetWindowLongA(ok, GWL_STYLE) & BS_DEFPUSHBUTTON) != 0;
  seen.HasCancel = GetDlgItem(window, IDCANCEL) != nullptr;
  RECT rect;
  GetWindowRect(window, &rect);
  seen.Centre = POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};

  InputAnswer answer{false, std::string()};
  {
    std::lock_guard<std::mutex> lock(mutex_);
    inputWindows_.push_back(seen);
    if (!inputs_.empty()) {
      answer = inputs_.front();
      inputs_.pop_front();
    }
  }
  if (answer.Confirm && edit)
    SendBounded(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(answer.Text.c_str()));
  const int button = answer.Confirm ? IDOK : IDCANCEL;
  SendBounded(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
              reinterpret_cast<LPARAM>(GetDlgItem(window, button)));
}
