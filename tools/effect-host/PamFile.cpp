#include "effect-host/PamFile.h"

#include <cstdio>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace effecthost {
namespace {

using File = std::unique_ptr<FILE, int (*)(FILE *)>;

File Open(const std::wstring &path, const wchar_t *mode) {
  File file(_wfopen(path.c_str(), mode), fclose);
  if (!file) throw std::runtime_error("cannot open the file");
  return file;
}

// The header's fields up to ENDHDR, by keyword (comments dropped).
std::map<std::string, std::string> ReadHeader(FILE *file) {
  char line[256];
  if (!fgets(line, sizeof line, file) || std::string(line) != "P7\n") {
    throw std::runtime_error("not a PAM file (no P7 line)");
  }
  std::map<std::string, std::string> fields;
  while (fgets(line, sizeof line, file)) {
    std::istringstream words(line);
    std::string key, value;
    words >> key;
    if (key == "ENDHDR") return fields;
    if (key.empty() || key[0] == '#') continue;
    std::getline(words >> std::ws, value);
    fields[key] = value;
  }
  throw std::runtime_error("PAM header without ENDHDR");
}

int32_t PositiveField(const std::map<std::string, std::string> &fields, const char *key) {
  const auto found = fields.find(key);
  const long value = found == fields.end() ? 0 : std::strtol(found->second.c_str(), nullptr, 10);
  if (value < 1 || value > 1 << 20) throw std::runtime_error(std::string("bad PAM ") + key);
  return static_cast<int32_t>(value);
}

}  // namespace

RgbaFrame ReadPam(const std::wstring &path) {
  File file = Open(path, L"rb");
  const auto fields = ReadHeader(file.get());
  if (fields.count("TUPLTYPE") == 0 || fields.at("TUPLTYPE") != "RGB_ALPHA" ||
      PositiveField(fields, "DEPTH") != 4 || PositiveField(fields, "MAXVAL") != 255) {
    throw std::runtime_error("not an 8-bit RGB_ALPHA PAM file");
  }
  RgbaFrame frame = RgbaFrame::Filled(PositiveField(fields, "WIDTH"),
                                      PositiveField(fields, "HEIGHT"), PIXEL_RGBA{0, 0, 0, 0});
  if (fread(frame.Pixels.data(), sizeof(PIXEL_RGBA), frame.Pixels.size(), file.get()) !=
      frame.Pixels.size()) {
    throw std::runtime_error("PAM file shorter than its header says");
  }
  return frame;
}

void WritePam(const std::wstring &path, const RgbaFrame &frame) {
  File file = Open(path, L"wb");
  fprintf(file.get(), "P7\nWIDTH %d\nHEIGHT %d\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n",
          frame.Width, frame.Height);
  if (fwrite(frame.Pixels.data(), sizeof(PIXEL_RGBA), frame.Pixels.size(), file.get()) !=
          frame.Pixels.size() ||
      fflush(file.get()) != 0) {
    throw std::runtime_error("cannot write the file");
  }
}

}  // namespace effecthost
