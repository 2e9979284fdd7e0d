#include "rgba/SrgbTables.h"

#include <cmath>

namespace rgba {
namespace {

double ToLinear(double encoded) {
  return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

SrgbTables Build() {
  SrgbTables tables{};
  for (int32_t byte = 0; byte < 256; ++byte) {
    tables.Decode[byte] = static_cast<uint16_t>(std::lround(65535.0 * ToLinear(byte / 255.0)));
    tables.EncodeThresholds[byte] = static_cast<float>(65535.0 * ToLinear((byte - 0.5) / 255.0));
  }
  return tables;
}

}  // namespace

const SrgbTables &Srgb() {
  static const SrgbTables tables = Build();
  return tables;
}

}  // namespace rgba
