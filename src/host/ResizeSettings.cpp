#include "host/ResizeSettings.h"

#include <algorithm>
#include <cstring>

ResizeSettings DefaultResizeSettings() {
  ResizeSettings settings{};
  settings.Width = 512;
  settings.Height = 384;
  StoreNameField("Spline36", settings.LumaMode);
  StoreNameField("Spline36", settings.ChromaMode);
  return settings;
}

std::string ReadNameField(const char (&field)[kNameFieldSize]) {
  const char *end = std::find(field, field + kNameFieldSize, '\0');
  return std::string(field, end);
}

void StoreNameField(const std::string &text, char (&field)[kNameFieldSize]) {
  std::memset(field, 0, kNameFieldSize);
  std::memcpy(field, text.data(), std::min(text.size(), kNameFieldSize));
}
