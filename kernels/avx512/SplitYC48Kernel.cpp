// The AVX-512 kernel's YC48 record for processors that split every 512-bit operation into two
// 256-bit halves (SplitsWideVectors): the SIMD filters over the AVX2 operations. There YC48
// frames gained neither from the width nor from VNNI's multiply-adds. Compiled for AVX2 alone,
// as the AVX2 kernel is: the same source compiled beside the AVX-512 filters measured a sixth
// slower, so the record is the AVX2 kernel's code and never slower than it.
#include "avx512/Kernel.h"
#include "common/KernelRecord.h"
#include "simd/Avx2Ops.h"
#include "simd/SimdFilters.h"

namespace {

// Declared here, in this file only, so that the compiler may inline the passes' filters freely.
template <class Format, class Layout>
struct Avx512SplitYC48Filters
    : kernels::simd::SimdFilters<kernels::simd::Avx2Ops, Format, Layout> {};

}  // namespace

constexpr FilterPluginInfo kAvx512SplitYC48Kernel =
    kernels::YC48KernelRecord<Avx512SplitYC48Filters>("AVX-512");
