// The SSE2 RGBA kernel: the RGBA filters over the SSE2 float operations.
#include "simd/RgbaFilters.h"
#include "sse2/RgbaOps.h"

namespace kernels {

const RgbaKernel kSse2RgbaKernel = simd::RgbaFilters<simd::Sse2RgbaOps>::Kernel("SSE2");

}  // namespace kernels
