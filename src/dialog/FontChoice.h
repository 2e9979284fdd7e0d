// The dialog's font: the first installed of the preferred faces, 12 pixels, Shift-JIS.
#pragma once

#include <windows.h>

#include <string>

// "MeiryoKe_UIGothic" when installed, else "Meiryo UI" when installed, else "MS UI Gothic".
std::string ChooseFormFontName();
// The form's font with the given face: character height 12 pixels, Shift-JIS character set.
HFONT CreateFormFont(const std::string &faceName);
