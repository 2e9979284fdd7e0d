// The AVX2 kernel: the shared pass templates over AVX2 row and line filters (YUY2 rows take
// the SSE2 row filter, compiled here with the AVX encoding). The combined pass filters a
// tile's rows horizontally eight at a time.
#include "avx2/Avx2Kernel.h"

#include "avx2/Avx2Ops.h"
#include "avx2/TransposedTileYC48.h"
#include "avx2/TransposedTileYUY2.h"
#include "portable/KernelRecord.h"
#include "simd/SimdFilters.h"

namespace {

template <class Format, class Layout>
struct Avx2Filters : simd::SimdFilters<simd::Avx2Ops, Format, Layout> {};

template <class Layout>
struct Avx2Filters<portable::YC48Format, Layout>
    : simd::SimdFilters<simd::Avx2Ops, portable::YC48Format, Layout> {
  using TileFilter = simd::TransposedTileYC48<Layout>;
};

template <class Layout>
struct Avx2Filters<portable::YUY2Format, Layout>
    : simd::SimdFilters<simd::Avx2Ops, portable::YUY2Format, Layout> {
  using TileFilter = simd::TransposedTileYUY2;
};

}  // namespace

constexpr FilterPluginInfo kAvx2YC48Kernel = portable::YC48KernelRecord<Avx2Filters>("AVX2");
constexpr FilterPluginInfo kAvx2YUY2Kernel = portable::YUY2KernelRecord<Avx2Filters>("AVX2");
