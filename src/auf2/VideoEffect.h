// One call of the effect for one object's image.
#pragma once

#include "auf2/FilterSdk.h"

namespace auf2 {

// Resizes the object's image to the target the items give. Passes the image through untouched
// (no set_image_data) when the target equals its size or its size is not positive. Returns false,
// with nothing written, when memory or the worker pool is not to be had.
bool ProcessVideo(FILTER_PROC_VIDEO *video);

}  // namespace auf2
