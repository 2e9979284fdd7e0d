// The AVX-512 RGBA kernel: the RGBA filters over the AVX-512 float operations.
#include "avx512/RgbaOps.h"
#include "simd/RgbaFilters.h"

namespace kernels {

const RgbaKernel kAvx512RgbaKernel = simd::RgbaFilters<simd::Avx512RgbaOps>::Kernel("AVX-512");

}  // namespace kernels
