// A modal window that asks for one line of text: caption, a prompt above one edit box, OK (the
// default button) and Cancel, centred on the screen.
#pragma once

#include <windows.h>

#include <string>

struct TextInputRequest {
  std::string Caption;
  std::string Prompt;
  int MaxLength;  // characters the edit box takes
};

// Shows the window, disabling `owner` (may be null) until it closes. Returns true and sets
// `text` when the user confirms with OK or Enter; false when cancelled or closed.
bool AskForText(HWND owner, HFONT font, const TextInputRequest &request, std::string &text);
