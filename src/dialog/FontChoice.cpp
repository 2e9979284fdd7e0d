#include "dialog/FontChoice.h"

#include <cstring>

namespace {

constexpr const char *kPreferredFaces[] = {"MeiryoKe_UIGothic", "Meiryo UI"};
constexpr char kStoredFace[] = "MS UI Gothic";
constexpr int kCharacterHeight = -12;

int CALLBACK StopAtFirstFamily(const LOGFONTA *, const TEXTMETRICA *, DWORD, LPARAM found) {
  *reinterpret_cast<bool *>(found) = true;
  return 0;
}

// Asks the list of installed font families for one face, in every character set.
bool IsInstalled(const char *faceName) {
  LOGFONTA query{};
  query.lfCharSet = DEFAULT_CHARSET;
  std::strncpy(query.lfFaceName, faceName, LF_FACESIZE - 1);
  bool found = false;
  const HDC screen = GetDC(nullptr);
  EnumFontFamiliesExA(screen, &query, &StopAtFirstFamily, reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, screen);
  return found;
}

}  // namespace

std::string ChooseFormFontName() {
  for (const char *face : kPreferredFaces) {
    if (IsInstalled(face)) return face;
  }
  return kStoredFace;
}

HFONT CreateFormFont(const std::string &faceName) {
  LOGFONTA font{};
  font.lfHeight = kCharacterHeight;
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = SHIFTJIS_CHARSET;
  std::strncpy(font.lfFaceName, faceName.c_str(), LF_FACESIZE - 1);
  return CreateFontIndirectA(&font);
}
