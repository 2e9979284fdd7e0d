// The AVX-512 kernel: the SIMD filters over the AVX-512 operations, one record for YC48 frames
// and one for YUY2 frames, and the YUY2 record for processors that split 512-bit operations in
// two. The only source file compiled for AVX-512.
#include "avx512/Kernel.h"

#include "avx512/NarrowOps.h"
#include "avx512/Ops.h"
#include "common/KernelRecord.h"
#include "simd/SimdFilters.h"

namespace {

// Declared here, in this file only, so that the compiler may inline the passes' filters freely.
template <class Format, class Layout>
struct Avx512Filters : kernels::simd::SimdFilters<kernels::simd::Avx512Ops, Format, Layout> {};
// The YUY2 filters for processors that split every 512-bit operation into two 256-bit halves
// (SplitsWideVectors): the vertical filter at 256 bits with VNNI's in-place multiply-adds, and
// the 512-bit tile filter, measured about a tenth faster than the AVX2 kernel there.
template <class Format, class Layout>
struct Avx512SplitFilters
    : kernels::simd::SimdFilters<kernels::simd::Avx512NarrowOps, Format, Layout,
                                 kernels::simd::Avx512Ops> {};

}  // namespace

constexpr FilterPluginInfo kAvx512YC48Kernel =
    kernels::YC48KernelRecord<Avx512Filters>("AVX-512");
constexpr FilterPluginInfo kAvx512YUY2Kernel =
    kernels::YUY2KernelRecord<Avx512Filters>("AVX-512");
constexpr FilterPluginInfo kAvx512SplitYUY2Kernel =
    kernels::YUY2KernelRecord<Avx512SplitFilters>("AVX-512");
