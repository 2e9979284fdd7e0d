// The AVX2 kernel: the shared pass templates over AVX2 row and line filters (YUY2 rows take
// the SSE2 row filter, compiled here with the AVX encoding).
#include "avx2/Avx2Kernel.h"

#include "avx2/Avx2Ops.h"
#include "portable/KernelRecord.h"
#include "simd/SimdFilters.h"

namespace {

template <class Format, class Layout>
using Avx2Filters = simd::SimdFilters<simd::Avx2Ops, Format, Layout>;

}  // namespace

constexpr FilterPluginInfo kAvx2YC48Kernel = portable::YC48KernelRecord<Avx2Filters>("AVX2");
constexpr FilterPluginInfo kAvx2YUY2Kernel = portable::YUY2KernelRecord<Avx2Filters>("AVX2");
