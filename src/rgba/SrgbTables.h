// The sRGB transfer as tables: each byte's 16-bit linear value, and the linear values halfway
// between neighbouring bytes, which encode a linear sum back to the nearest byte.
#pragma once

#include <cstdint>

namespace rgba {

struct SrgbTables {
  uint16_t Decode[256];         // round(65535 x linear(byte / 255))
  float EncodeThresholds[256];  // [k]: 65535 x linear((k - 0.5) / 255); [0] unused
};

// Built on first use, then shared (read-only) by every call.
const SrgbTables &Srgb();

}  // namespace rgba
