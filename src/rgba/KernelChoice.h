// Which RGBA kernel runs a request: the one asked for when the processor runs it, else the best one
// it runs.
#pragma once

#include "common/RgbaKernel.h"
#include "rgba/RgbaResizer.h"

namespace rgba {

const kernels::RgbaKernel &KernelFor(Isa effective);

}  // namespace rgba
