// The records and exports of the SSE2 kernel library, "SSE2": one record for YC48 frames and
// one for YUY2 frames.
#include "portable/KernelRecord.h"
#include "simd/SimdFilters.h"
#include "sse2/Sse2Ops.h"
#include "sse2/Sse2TileYC48.h"
#include "sse2/Sse2TileYUY2.h"

namespace {

// Declared in this file only, so that the compiler may inline the passes' filters freely.
template <class Format, class Layout>
struct Sse2Filters : simd::SimdKernel<simd::Sse2Ops, simd::Sse2TileYC48,
                                      simd::Sse2TileYUY2>::Filters<Format, Layout> {};

constexpr FilterPluginInfo kYC48Kernel = portable::YC48KernelRecord<Sse2Filters>("SSE2");
constexpr FilterPluginInfo kYUY2Kernel = portable::YUY2KernelRecord<Sse2Filters>("SSE2");

}  // namespace

extern "C" const FilterPluginInfo *__stdcall GetFilterPluginInfo2() { return &kYC48Kernel; }

extern "C" const FilterPluginInfo *__stdcall GetYUY2FilterPluginInfo2() { return &kYUY2Kernel; }
