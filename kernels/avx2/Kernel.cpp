// The AVX2 kernel: the SIMD filters over the AVX2 operations, one record for YC48 frames and one
// for YUY2 frames. The only source file compiled for AVX2.
#include "avx2/Kernel.h"

#include "avx2/Ops.h"
#include "common/KernelRecord.h"
#include "simd/SimdFilters.h"

namespace {

// Declared here, in this file only, so that the compiler may inline the passes' filters freely
// (with outside linkage it inlines less: about 10 % slower).
template <class Format, class Layout>
struct Avx2Filters : kernels::simd::SimdFilters<kernels::simd::Avx2Ops, Format, Layout> {};

}  // namespace

constexpr FilterPluginInfo kAvx2YC48Kernel = kernels::YC48KernelRecord<Avx2Filters>("AVX2");
constexpr FilterPluginInfo kAvx2YUY2Kernel = kernels::YUY2KernelRecord<Avx2Filters>("AVX2");
