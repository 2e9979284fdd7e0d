// PAM image files (Netpbm P7, TUPLTYPE RGB_ALPHA, MAXVAL 255): simple to read and to write, and
// written by common tools (`convert in.png out.pam`, ffmpeg's pam encoder).
#pragma once

#include <string>

#include "effect-host/RgbaFrame.h"

namespace effecthost {

// Throws std::runtime_error with the reason when the file cannot be read or is no such image.
RgbaFrame ReadPam(const std::wstring &path);
// Throws std::runtime_error when the file cannot be written.
void WritePam(const std::wstring &path, const RgbaFrame &frame);

}  // namespace effecthost
