// The AVX2 kernel's YC48 record: the SIMD filters over the AVX2 operations. Compiled for AVX2,
// apart from the YUY2 record (YUY2Kernel.cpp): in one file, the code of either format changed
// how GCC inlined and kept in registers the other's column loops (up to a fifth slower).
#include "avx2/Kernel.h"

#include "common/KernelRecord.h"
#include "simd/Avx2Ops.h"
#include "simd/SimdFilters.h"

namespace {

// Declared here, in this file only, so that the compiler may inline the passes' filters freely
// (with outside linkage it inlines less: about 10 % slower).
template <class Format, class Layout>
struct Avx2Filters : kernels::simd::SimdFilters<kernels::simd::Avx2Ops, Format, Layout> {};

}  // namespace

constexpr FilterPluginInfo kAvx2YC48Kernel = kernels::YC48KernelRecord<Avx2Filters>("AVX2");
