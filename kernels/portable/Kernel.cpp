// The records and exports of the portable kernel library, "C++": one record for YC48 frames and
// one for YUY2 frames.
#include "common/KernelRecord.h"
#include "portable/PortableFilters.h"

namespace {

using kernels::portable::PortableFilters;

constexpr FilterPluginInfo kYC48Kernel = kernels::YC48KernelRecord<PortableFilters>("C++");
constexpr FilterPluginInfo kYUY2Kernel = kernels::YUY2KernelRecord<PortableFilters>("C++");

}  // namespace

extern "C" const FilterPluginInfo *__stdcall GetFilterPluginInfo2() { return &kYC48Kernel; }

extern "C" const FilterPluginInfo *__stdcall GetYUY2FilterPluginInfo2() { return &kYUY2Kernel; }
