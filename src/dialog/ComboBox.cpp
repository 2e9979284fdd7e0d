#include "dialog/ComboBox.h"

namespace combo {

namespace {

constexpr WPARAM kSelectionField = static_cast<WPARAM>(-1);

int WindowHeight(HWND window) {
  RECT rect;
  GetWindowRect(window, &rect);
  return rect.bottom - rect.top;
}

}  // namespace

int Count(HWND combo) { return static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0)); }

int Selected(HWND combo) { return static_cast<int>(SendMessageA(combo, CB_GETCURSEL, 0, 0)); }

void Select(HWND combo, int index) { SendMessageA(combo, CB_SETCURSEL, index, 0); }

std::string Text(HWND combo, int index) {
  const LRESULT length = SendMessageA(combo, CB_GETLBTEXTLEN, index, 0);
  if (length == CB_ERR) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const LRESULT copied =
      SendMessageA(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
  text.resize(copied == CB_ERR ? 0 : static_cast<size_t>(copied));
  return text;
}

std::vector<std::string> Items(HWND combo) {
  std::vector<std::string> items;
  const int count = Count(combo);
  for (int i = 0; i < count; ++i) items.push_back(Text(combo, i));
  return items;
}

void Append(HWND combo, const std::string &text) {
  SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Insert(HWND combo, int index, const std::string &text) {
  SendMessageA(combo, CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text.c_str()));
}

void Delete(HWND combo, int index) { SendMessageA(combo, CB_DELETESTRING, index, 0); }

int FindExact(HWND combo, const std::string &text) {
  const LRESULT found = SendMessageA(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(text.c_str()));
  return found == CB_ERR ? -1 : static_cast<int>(found);
}

void SetHeights(HWND combo, int fieldHeight, int itemHeight) {
  SendMessageA(combo, CB_SETITEMHEIGHT, 0, itemHeight);
  // The closed box is its selection field plus a border that the system chooses; the field is
  // corrected by the difference until the box has the height asked for, or as near as the
  // system lets it come (Wine keeps the field at least as tall as the font needs).
  for (int attempt = 0; attempt < 3 && WindowHeight(combo) != fieldHeight; ++attempt) {
    const LRESULT field = SendMessageA(combo, CB_GETITEMHEIGHT, kSelectionField, 0);
    SendMessageA(combo, CB_SETITEMHEIGHT, kSelectionField, field + fieldHeight - WindowHeight(combo));
  }
}

void SetDroppedRows(HWND combo, int rows) {
  const LRESULT itemHeight = SendMessageA(combo, CB_GETITEMHEIGHT, 0, 0);
  if (itemHeight <= 0) return;
  RECT rect;
  GetWindowRect(combo, &rect);
  // A combo box's window height is its closed height plus the dropped-down list's, whose
  // border takes one pixel above and one below the entries.
  SetWindowPos(combo, nullptr, 0, 0, rect.right - rect.left,
               WindowHeight(combo) + rows * static_cast<int>(itemHeight) + 2,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace combo
