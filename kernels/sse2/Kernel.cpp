// The SSE2 kernel library, "SSE2": the SIMD filters over the SSE2 operations, one record for
// YC48 frames and one for YUY2 frames, and the exports.
#include "common/KernelRecord.h"
#include "simd/SimdFilters.h"
#include "sse2/Ops.h"

namespace {

// Declared in this file only, so that the compiler may inline the passes' filters freely.
template <class Format, class Layout>
struct Sse2Filters : kernels::simd::SimdFilters<kernels::simd::Sse2Ops, Format, Layout> {};

constexpr FilterPluginInfo kYC48Kernel = kernels::YC48KernelRecord<Sse2Filters>("SSE2");
constexpr FilterPluginInfo kYUY2Kernel = kernels::YUY2KernelRecord<Sse2Filters>("SSE2");

}  // namespace

extern "C" const FilterPluginInfo *__stdcall GetFilterPluginInfo2() { return &kYC48Kernel; }

extern "C" const FilterPluginInfo *__stdcall GetYUY2FilterPluginInfo2() { return &kYUY2Kernel; }
