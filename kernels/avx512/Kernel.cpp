// The AVX-512 kernel: the SIMD filters over the AVX-512 operations, one record for YC48 frames
// and one for YUY2 frames. The only source file compiled for AVX-512.
#include "avx512/Kernel.h"

#include <type_traits>

#include "avx512/NarrowOps.h"
#include "avx512/Ops.h"
#include "common/KernelRecord.h"
#include "simd/SimdFilters.h"

namespace {

// Declared here, in this file only, so that the compiler may inline the passes' filters freely.
template <class Format, class Layout>
struct Avx512Filters : kernels::simd::SimdFilters<kernels::simd::Avx512Ops, Format, Layout> {};
// The filters for processors that split every 512-bit operation into two 256-bit halves
// (SplitsWideVectors). YUY2 frames take the vertical filter at 256 bits with VNNI's in-place
// multiply-adds and the 512-bit tile filter: measured about a tenth faster than the AVX2 kernel
// there. YC48 frames gained from neither width nor VNNI and take the AVX2 operations, so that
// the kernel is never slower than the AVX2 one.
template <class Format, class Layout>
struct Avx512SplitFilters
    : kernels::simd::SimdFilters<
          std::conditional_t<std::is_same_v<Format, kernels::YUY2Format>,
                             kernels::simd::Avx512NarrowOps, kernels::simd::Avx2Ops>,
          Format, Layout,
          std::conditional_t<std::is_same_v<Format, kernels::YUY2Format>,
                             kernels::simd::Avx512Ops, kernels::simd::Avx2Ops>> {};

}  // namespace

constexpr FilterPluginInfo kAvx512YC48Kernel =
    kernels::YC48KernelRecord<Avx512Filters>("AVX-512");
constexpr FilterPluginInfo kAvx512YUY2Kernel =
    kernels::YUY2KernelRecord<Avx512Filters>("AVX-512");
constexpr FilterPluginInfo kAvx512SplitYC48Kernel =
    kernels::YC48KernelRecord<Avx512SplitFilters>("AVX-512");
constexpr FilterPluginInfo kAvx512SplitYUY2Kernel =
    kernels::YUY2KernelRecord<Avx512SplitFilters>("AVX-512");
