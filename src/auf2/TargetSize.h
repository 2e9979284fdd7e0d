// The size an object is resized to, from its own size and the size settings.
#pragma once

#include <cstdint>

#include "auf2/EffectSettings.h"

namespace auf2 {

struct Size {
  int32_t Width, Height;
  bool operator==(const Size &other) const {
    return Width == other.Width && Height == other.Height;
  }
};

// The target for a source of at least 1x1. Each side is at least 1 and at most rgba::kMaxSide;
// a target beyond that limit is scaled down to fit, keeping its aspect in the modes that keep
// the object's aspect.
Size TargetSize(const Size &source, const EffectSettings &settings);

}  // namespace auf2
