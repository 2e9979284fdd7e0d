// The records and exports of the portable kernel library, "C++": one record for YC48 frames and
// one for YUY2 frames.
#include "KernelRecord.h"
#include "PortableFilters.h"

namespace {

constexpr FilterPluginInfo kYC48Kernel = portable::YC48KernelRecord<portable::PortableFilters>("C++");
constexpr FilterPluginInfo kYUY2Kernel = portable::YUY2KernelRecord<portable::PortableFilters>("C++");

}  // namespace

extern "C" const FilterPluginInfo *__stdcall GetFilterPluginInfo2() { return &kYC48Kernel; }

extern "C" const FilterPluginInfo *__stdcall GetYUY2FilterPluginInfo2() { return &kYUY2Kernel; }
