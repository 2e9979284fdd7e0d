// The AVX2 kernel: the shared pass templates over the AVX2 line filter and tile filters, which
// filter rows horizontally eight at a time.
#include "avx2/Avx2Kernel.h"

#include <type_traits>

#include "avx2/Avx2Ops.h"
#include "avx2/TransposedTileYC48.h"
#include "avx2/TransposedTileYUY2.h"
#include "portable/KernelRecord.h"
#include "simd/SimdFilters.h"

namespace {

// The AVX2 vertical filter, and rows filtered horizontally a tile's height at a time.
template <class Format, class Layout>
struct Avx2Filters : simd::SimdLineFilters<simd::Avx2Ops, Format, Layout> {
  using TileFilter = typename std::conditional<std::is_same<Format, portable::YUY2Format>::value,
                                               simd::TransposedTileYUY2,
                                               simd::TransposedTileYC48<Layout>>::type;
};

}  // namespace

constexpr FilterPluginInfo kAvx2YC48Kernel = portable::YC48KernelRecord<Avx2Filters>("AVX2");
constexpr FilterPluginInfo kAvx2YUY2Kernel = portable::YUY2KernelRecord<Avx2Filters>("AVX2");
