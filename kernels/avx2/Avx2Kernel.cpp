// The AVX2 kernel: the shared pass templates over the AVX2 line filter and tile filters, which
// filter rows horizontally eight at a time.
#include "avx2/Avx2Kernel.h"

#include "avx2/Avx2Ops.h"
#include "avx2/TransposedTileYC48.h"
#include "avx2/TransposedTileYUY2.h"
#include "portable/KernelRecord.h"
#include "simd/SimdFilters.h"

namespace {

// Declared here, in this file only, so that the compiler may inline the passes' filters freely
// (with outside linkage it inlines less: about 10 % slower).
template <class Format, class Layout>
struct Avx2Filters
    : simd::SimdKernel<simd::Avx2Ops, simd::TransposedTileYC48,
                       simd::TransposedTileYUY2>::Filters<Format, Layout> {};

}  // namespace

constexpr FilterPluginInfo kAvx2YC48Kernel = portable::YC48KernelRecord<Avx2Filters>("AVX2");
constexpr FilterPluginInfo kAvx2YUY2Kernel = portable::YUY2KernelRecord<Avx2Filters>("AVX2");
