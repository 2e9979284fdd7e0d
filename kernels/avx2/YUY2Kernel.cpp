// The AVX2 kernel's YUY2 record: the SIMD filters over the AVX2 operations, compiled for AVX2
// apart from the YC48 record (see YC48Kernel.cpp).
#include "avx2/Kernel.h"

#include "common/KernelRecord.h"
#include "simd/Avx2Ops.h"
#include "simd/SimdFilters.h"

namespace {

// Declared here, in this file only, so that the compiler may inline the passes' filters freely.
template <class Format, class Layout>
struct Avx2Filters : kernels::simd::SimdFilters<kernels::simd::Avx2Ops, Format, Layout> {};

}  // namespace

constexpr FilterPluginInfo kAvx2YUY2Kernel = kernels::YUY2KernelRecord<Avx2Filters>("AVX2");
