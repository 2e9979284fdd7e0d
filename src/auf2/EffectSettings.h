// The effect's settings as one call reads them: a copy of the items' values, taken once at the
// start of the call, since the editor rewrites the items before each call.
#pragma once

#include <cstdint>

#include "rgba/RgbaResizer.h"

namespace auf2 {

// How the target size is given (the サイズの指定 choices, in their order).
enum class SizeMode { Scale, WidthAndHeight, FitWidth, FitHeight };

struct EffectSettings {
  SizeMode Mode;
  double ScalePercent;  // 拡大率
  double Width;         // 幅, pixels
  double Height;        // 高さ, pixels
  rgba::ResizeOptions Options;
};

}  // namespace auf2
