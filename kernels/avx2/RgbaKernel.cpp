// The AVX2 RGBA kernel: the RGBA filters over the AVX2 float operations.
#include "avx2/RgbaOps.h"
#include "simd/RgbaFilters.h"

namespace kernels {

const RgbaKernel kAvx2RgbaKernel = simd::RgbaFilters<simd::Avx2RgbaOps>::Kernel("AVX2");

}  // namespace kernels
