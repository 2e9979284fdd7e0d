// Answers the modal windows that the dialog opens on the test's UI thread, as a user would: it
// finds each warning box by its caption, notes its text and presses OK, and fills in the
// text-input window with the queued text (or cancels it).
//
// It works from a thread timer of the UI thread, which every modal loop dispatches, so it needs
// no thread of its own: a helper thread calling into the window system while the UI thread
// loads libraries and creates its first windows could deadlock inside Wine.
#pragma once

#include <windows.h>

#include <deque>
#include <set>
#include <string>
#include <vector>

// What the text-input window looked like when it was answered.
struct InputWindowSeen {
  std::string Prompt;
  int EditLimit = 0;
  bool OkIsDefault = false;
  bool HasCancel = false;
  POINT Centre{};
};

class ModalAnswerer {
 public:
  // Starts answering on the calling thread, which must be the dialog's UI thread.
  ModalAnswerer();
  ~ModalAnswerer();
  ModalAnswerer(const ModalAnswerer &) = delete;
  ModalAnswerer &operator=(const ModalAnswerer &) = delete;

  // The next text-input window gets `text` and OK; CancelNextInput makes it Cancel instead.
  void AnswerNextInput(const std::string &text);
  void CancelNextInput();

  // The texts of the warning boxes answered since the last call.
  std::vector<std::string> TakeWarnings();
  std::vector<InputWindowSeen> TakeInputWindows();

 private:
  struct InputAnswer {
    bool Confirm;
    std::string Text;
  };

  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR timer, DWORD);
  void AnswerOpenWindows();
  void Answer(HWND window);
  void AnswerWarning(HWND box);
  void AnswerInput(HWND window);

  std::deque<InputAnswer> inputs_;
  std::vector<std::string> warnings_;
  std::vector<InputWindowSeen> inputWindows_;
  std::set<HWND> answered_;
  UINT_PTR timer_;
};

extern const char kWarningCaption[];
extern const char kInputCaption[];
