// The methods the RGBA engine offers and the weight setter of each.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/TWeightSetter.h"

namespace rgba {

// The setter of method `methodIndex` (into Methods(); outside it: the default method) for `param`
// (0: the method's default; outside its range: clamped).
std::unique_ptr<TWeightSetter> CreateWeightSetter(int methodIndex, int32_t param);

}  // namespace rgba
