// Small wrappers around the standard combo box's messages, in the single-byte code page.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace combo {

int Count(HWND combo);
int Selected(HWND combo);  // -1 when nothing is selected
void Select(HWND combo, int index);
std::string Text(HWND combo, int index);
std::vector<std::string> Items(HWND combo);
void Append(HWND combo, const std::string &text);
void Insert(HWND combo, int index, const std::string &text);
void Delete(HWND combo, int index);
// The first entry equal to `text` ignoring letter case (the combo box's own search), or -1.
int FindExact(HWND combo, const std::string &text);
// Makes the closed box `fieldHeight` pixels tall and its list entries `itemHeight` pixels.
void SetHeights(HWND combo, int fieldHeight, int itemHeight);
// Sizes the dropped-down list for `rows` entries of the height the list really has (the
// system may keep its entries taller than asked, as the font needs).
void SetDroppedRows(HWND combo, int rows);

}  // namespace combo
