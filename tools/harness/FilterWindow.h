// The filter's settings window: a top-level window whose every message goes to a handler (the
// session, which forwards it to the plug-in's func_WndProc). Without a display it falls back to
// a message-only window, which still carries messages and a title but no child controls. A
// run that shows nothing asks for the message-only window at once, so that Wine does not try
// for a display first.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace quorlin_harness {

class FilterWindow {
 public:
  // Returns the window procedure's result for one message.
  using Handler = std::function<LRESULT(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam)>;

  enum class Kind { TopLevel, MessageOnly };

  // `clientWidth` x `clientHeight` is the client area; `show` makes a top-level window
  // visible. Throws std::runtime_error when not even a message-only window can be created.
  FilterWindow(const std::string &title, int clientWidth, int clientHeight, Kind kind, bool show,
               Handler handler);
  ~FilterWindow();
  FilterWindow(const FilterWindow &) = delete;
  FilterWindow &operator=(const FilterWindow &) = delete;

  HWND Handle() const { return hwnd_; }
  bool IsTopLevel() const { return topLevel_; }
  std::string Title() const;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

  HWND hwnd_ = nullptr;
  bool topLevel_ = false;
  Handler handler_;
};

}  // namespace quorlin_harness
