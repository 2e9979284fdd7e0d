#include "kernels/EngineRun.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "avx512/Kernel.h"
#include "cpu/ProcessorFeatures.h"
#include "harness/EngineHost.h"
#include "kernels/RandomTableSetter.h"

namespace {

void FillRandom(uint8_t *data, size_t bytes, FrameFormat format, CoeffRange range,
                std::mt19937 &rng) {
  const bool moderateYC48 = format == FrameFormat::YC48 && range == CoeffRange::Moderate;
  std::uniform_int_distribution<int> moderate(-2500, 6500);
  for (size_t i = 0; i + 1 < bytes; i += 2) {
    const uint16_t v = static_cast<uint16_t>(moderateYC48 ? moderate(rng) : rng());
    data[i] = static_cast<uint8_t>(v);
    data[i + 1] = static_cast<uint8_t>(v >> 8);
  }
}

}  // namespace

const char *const kKernelLibraries[6] = {"Kernel0_AVX512.dll", "Kernel1_AVX2.dll",
                                          "Kernel2_SSE2.dll", kPortableLibrary,
                                          kWholeVectorRecords, kSplitVectorRecords};

namespace {

// The AVX-512 record set named `library`, or null when `library` names a DLL.
const FilterPluginInfo *const *Avx512RecordSet(const std::string &library) {
  static const FilterPluginInfo *const whole[] = {&kAvx512YC48Kernel, &kAvx512YUY2Kernel};
  static const FilterPluginInfo *const split[] = {&kAvx512SplitYC48Kernel,
                                                  &kAvx512SplitYUY2Kernel};
  if (library == kWholeVectorRecords) return whole;
  if (library == kSplitVectorRecords) return split;
  return nullptr;
}

}  // namespace

const FilterPluginInfo *KernelFrom(const char *library, FrameFormat format) {
  const int formatIndex = format == FrameFormat::YC48 ? 0 : 1;
  if (const FilterPluginInfo *const *records = Avx512RecordSet(library))
    return RunsAvx512Kernel(ThisProcessor()) ? records[formatIndex] : nullptr;
  const std::string path = std::string("Z:" QUORLIN_DIST_DLL "/") + library;
  const HMODULE module = LoadLibraryA(path.c_str());
  const char *exportName =
      formatIndex == 0 ? "GetFilterPluginInfo2" : "GetYUY2FilterPluginInfo2";
  auto get = module ? reinterpret_cast<GetFilterPluginInfoFunc>(
                          reinterpret_cast<void *>(GetProcAddress(module, exportName)))
                    : nullptr;
  if (!get) throw std::runtime_error("cannot load " + path + " or find " + exportName);
  return get();
}

void SkipWhereDeclined(const char *library) {
  if (KernelFrom(library, FrameFormat::YC48)) return;
  const bool avx512 = std::string(library).rfind("Kernel0_AVX512.dll", 0) == 0 ||
                      Avx512RecordSet(library) != nullptr;
  const std::string needs =
      avx512 ? "AVX-512 F, BW, VL and VNNI, and a system that saves the opmask and ZMM registers"
             : "AVX2, and a system that saves the YMM registers";
  GTEST_SKIP() << library << " declines this processor: it needs " << needs;
}

EngineRun::EngineRun(const ResizeCase &c)
    : case_(c),
      lineSize_(std::max(c.srcWidth, c.dstWidth) * BytesPerPixel(c.format)),
      maxHeight_(std::max(c.srcHeight, c.dstHeight)),
      edit_(static_cast<size_t>(lineSize_) * maxHeight_),
      temp_(static_cast<size_t>(lineSize_) * maxHeight_),
      target_{c.dstWidth, c.dstHeight} {
  std::mt19937 rng(c.seed);
  FillRandom(edit_.Data(), edit_.Size(), c.format, c.range, rng);
  FillRandom(temp_.Data(), temp_.Size(), c.format, c.range, rng);
  if (c.paintSource)
    for (int32_t y = 0; y < c.srcHeight; ++y)
      c.paintSource(edit_.Data() + static_cast<size_t>(y) * lineSize_, y);
  editBefore_.assign(edit_.Data(), edit_.Data() + edit_.Size());
  tempBefore_.assign(temp_.Data(), temp_.Data() + temp_.Size());
  source_ = Frame{c.format, c.srcWidth, c.srcHeight, lineSize_,
                  std::vector<uint8_t>(editBefore_.begin(),
                                       editBefore_.begin() + lineSize_ * c.srcHeight)};

  const bool yuy2 = c.format == FrameFormat::YUY2;
  engine_.reset(new TFilter(yuy2 ? -1 : 0, &target_));
  engine_->SetWeightSetter(c.makeSetter
                              ? c.makeSetter()
                              : new RandomTableSetter(c.kind, yuy2, c.range, c.seed * 7919u + 1));
  const FilterPluginInfo *kernel = KernelFrom(c.library, c.format);
  if (!kernel) throw std::runtime_error(std::string(c.library) + " declines this processor");
  engine_->SetKernel(kernel);

  fpip_ = quorlin_host::EngineHost::Frame(edit_.Data(), temp_.Data(), c.srcWidth, c.srcHeight,
                                          lineSize_ / BytesPerPixel(c.format), maxHeight_);
  quorlin_host::EngineHost(quorlin_host::ThreadService::Threads, c.threads)
      .Process(*engine_, fpip_);
  EXPECT_EQ(fpip_.w, c.dstWidth);
  EXPECT_EQ(fpip_.h, c.dstHeight);
}

EngineRun::~EngineRun() = default;

void EngineRun::ExpectOutput(const Frame &expected) const {
  const bool inPlace = case_.srcHeight == case_.dstHeight;
  const GuardedFrame &shown = inPlace ? edit_ : temp_;
  ASSERT_EQ(fpip_.ycp_edit, shown.Data());
  ExpectUnchanged(shown, inPlace ? editBefore_ : tempBefore_, &expected);
  if (!inPlace) ExpectUnchanged(edit_, editBefore_, nullptr);
}

Frame EngineRun::Output() const {
  const bool inPlace = case_.srcHeight == case_.dstHeight;
  const GuardedFrame &shown = inPlace ? edit_ : temp_;
  Frame out{case_.format, case_.dstWidth, case_.dstHeight, lineSize_,
            std::vector<uint8_t>(static_cast<size_t>(lineSize_) * case_.dstHeight, 0)};
  const int32_t rowBytes = case_.dstWidth * BytesPerPixel(case_.format);
  for (int32_t y = 0; y < case_.dstHeight; ++y)
    std::copy(shown.Data() + static_cast<size_t>(y) * lineSize_,
              shown.Data() + static_cast<size_t>(y) * lineSize_ + rowBytes,
              out.bytes.begin() + static_cast<size_t>(y) * lineSize_);
  return out;
}

// Bytes inside `region` (its width x height at the top left) must equal the region's bytes,
// all others the bytes `before`.
void EngineRun::ExpectUnchanged(const GuardedFrame &buffer, const std::vector<uint8_t> &before,
                                const Frame *region) const {
  const int32_t bpp = BytesPerPixel(case_.format);
  const int32_t regionBytes = region ? region->width * bpp : 0;
  const int32_t regionLines = region ? region->height : 0;
  int mismatches = 0;
  for (int32_t y = 0; y < maxHeight_; ++y)
    for (int32_t b = 0; b < lineSize_; ++b) {
      const size_t i = static_cast<size_t>(y) * lineSize_ + b;
      const bool inside = y < regionLines && b < regionBytes;
      const uint8_t want = inside ? region->bytes[i] : before[i];
      if (buffer.Data()[i] != want && ++mismatches <= 5)
        ADD_FAILURE() << (inside ? "output" : "byte outside the output region") << " differs at pixel "
                      << b / bpp << " byte " << b % bpp << ", line " << y << ": "
                      << int(buffer.Data()[i]) << " instead of " << int(want);
    }
  EXPECT_EQ(mismatches, 0);
}

Frame ReferenceResult(const EngineRun &run, const ResizeCase &c) {
  const ResizeParams &p = run.Params();
  const int pairCoeffs = c.kind == kSeparateWeights ? 4 : 2;
  if (c.srcHeight == c.dstHeight)
    return ReferenceHorizontal(run.Source(), p.HWeights, p.HStep, pairCoeffs, c.dstWidth);
  if (c.srcWidth == c.dstWidth)
    return ReferenceVertical(run.Source(), p.VWeights, p.LinePairStep, pairCoeffs, c.dstHeight);
  return ReferenceCombined(run.Source(), p.VWeights, KernelFrom(c.library, c.format)->CombinedVStep,
                           p.HWeights, p.HStep, pairCoeffs, c.dstWidth, c.dstHeight);
}
