// The records and exports of the portable kernel library, "C++": one record for YC48 frames and
// one for YUY2 frames.
#include "Passes.h"
#include "WorkAreas.h"
#include "engine/FilterPluginInfo.h"

namespace {

using namespace portable;

const FilterPluginInfo kYC48Kernel = {
    "C++",
    &GetWorkSize1<YC48Format>,
    &GetWorkSize2<YC48Format>,
    &ResizeHorizontal<YC48Format, SharedWeights>,
    &ResizeVertical<YC48Format, SharedWeights>,
    &ResizeHorizontal<YC48Format, SeparateWeights>,
    &ResizeVertical<YC48Format, SeparateWeights>,
    &ResizeCombined<YC48Format, SharedWeights>,
    &ResizeCombined<YC48Format, SeparateWeights>,
    kBlockWidth,
    kBlockHeight,
    kCombinedVStep,
};

const FilterPluginInfo kYUY2Kernel = {
    "C++",
    &GetWorkSize1<YUY2Format>,
    &GetWorkSize2<YUY2Format>,
    &FillYUY2Black<PassShape::Horizontal>,
    &FillYUY2Black<PassShape::Vertical>,
    &ResizeHorizontal<YUY2Format, SeparateWeights>,
    &ResizeVertical<YUY2Format, SeparateWeights>,
    &FillYUY2Black<PassShape::Combined>,
    &ResizeCombined<YUY2Format, SeparateWeights>,
    kBlockWidth,
    kBlockHeight,
    kCombinedVStep,
};

}  // namespace

extern "C" const FilterPluginInfo *__stdcall GetFilterPluginInfo2() { return &kYC48Kernel; }

extern "C" const FilterPluginInfo *__stdcall GetYUY2FilterPluginInfo2() { return &kYUY2Kernel; }
