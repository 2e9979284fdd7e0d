// Answers the modal windows that the dialog opens on the test's UI thread, as a user would:
// from a helper thread it finds each warning box by its caption, notes its text and presses
// OK, and fills in the text-input window with the queued text (or cancels it).
#pragma once

#include <windows.h>

#include <atomic>
#include <deque>
#include <mutex>
#include <set>
#include <string>
#include <thread>
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
  explicit ModalAnswerer(DWORD uiThread);
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

  void Run();
  void Answer(HWND window);
  void AnswerWarning(HWND box);
  void AnswerInput(HWND window);

  DWORD uiThread_;
  std::mutex mutex_;
  std::deque<InputAnswer> inputs_;
  std::vector<std::string> warnings_;
  std::vector<InputWindowSeen> inputWindows_;
  std::set<HWND> answered_;
  std::atomic<bool> stop_{false};
  std::thread thread_;
};

extern const char kWarningCaption[];
extern const char kInputCaption[];
