#include "host/TitleText.h"

bool IsCP932LeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

std::string CutAtCharBoundary(const std::string &text, size_t maxBytes) {
  size_t end = 0;
  while (end < text.size()) {
    const size_t width = IsCP932LeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + width > maxBytes) break;
    end += width;
  }
  return text.substr(0, end < text.size() ? end : text.size());
}
