// The records and exports of the SSE2 kernel library, "SSE2": one record for YC48 frames and
// one for YUY2 frames.
#include <type_traits>

#include "portable/KernelRecord.h"
#include "simd/SimdFilters.h"
#include "sse2/Sse2Ops.h"
#include "sse2/Sse2TileYC48.h"
#include "sse2/Sse2TileYUY2.h"

namespace {

// The SSE2 vertical filter, and rows filtered horizontally a tile's height at a time.
template <class Format, class Layout>
struct Sse2Filters : simd::SimdLineFilters<simd::Sse2Ops, Format, Layout> {
  using TileFilter = typename std::conditional<std::is_same<Format, portable::YUY2Format>::value,
                                               simd::Sse2TileYUY2,
                                               simd::Sse2TileYC48<Layout>>::type;
};

constexpr FilterPluginInfo kYC48Kernel = portable::YC48KernelRecord<Sse2Filters>("SSE2");
constexpr FilterPluginInfo kYUY2Kernel = portable::YUY2KernelRecord<Sse2Filters>("SSE2");

}  // namespace

extern "C" const FilterPluginInfo *__stdcall GetFilterPluginInfo2() { return &kYC48Kernel; }

extern "C" const FilterPluginInfo *__stdcall GetYUY2FilterPluginInfo2() { return &kYUY2Kernel; }
