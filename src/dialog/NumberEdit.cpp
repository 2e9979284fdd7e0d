#include "dialog/NumberEdit.h"

#include <commctrl.h>

void MakeNumberEdit(HWND edit) {
  const LONG style = GetWindowLongA(edit, GWL_STYLE);
  SetWindowLongA(edit, GWL_STYLE, style | ES_RIGHT | ES_NUMBER);
  SetWindowPos(edit, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_FRAMECHANGED);
}

void AttachUpDown(HWND upDown, HWND edit) {
  SendMessageA(upDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
}

void SetUpDownRange(HWND upDown, int32_t minimum, int32_t maximum) {
  SendMessageA(upDown, UDM_SETRANGE32, static_cast<WPARAM>(minimum), static_cast<LPARAM>(maximum));
}

void SetUpDownPosition(HWND upDown, int32_t position) {
  SendMessageA(upDown, UDM_SETPOS32, 0, static_cast<LPARAM>(position));
}

int32_t UpDownPosition(HWND upDown) {
  return static_cast<int32_t>(SendMessageA(upDown, UDM_GETPOS32, 0, 0));
}
