// The AVX-512 kernel: the SIMD filters over the AVX-512 operations, one record for YC48 frames
// and one for YUY2 frames. The only source file compiled for AVX-512.
#include "avx512/Kernel.h"

#include "avx512/Ops.h"
#include "common/KernelRecord.h"
#include "simd/SimdFilters.h"

namespace {

// Declared here, in this file only, so that the compiler may inline the passes' filters freely.
template <class Format, class Layout>
struct Avx512Filters : kernels::simd::SimdFilters<kernels::simd::Avx512Ops, Format, Layout> {};

}  // namespace

constexpr FilterPluginInfo kAvx512YC48Kernel =
    kernels::YC48KernelRecord<Avx512Filters>("AVX-512");
constexpr FilterPluginInfo kAvx512YUY2Kernel =
    kernels::YUY2KernelRecord<Avx512Filters>("AVX-512");
