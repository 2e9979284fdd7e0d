// One random frame resized by a kernel library through the engine (TFilter::ProcessFrame),
// with the host's frame buffers ending at a guard page and the host's thread service running
// the pass on real threads.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "harness/FrameBuffer.h"
#include "contracts/FilterPluginInfo.h"
#include "engine/TFilter.h"
#include "kernels/RandomTables.h"
#include "kernels/ReferenceResize.h"

// The kernel libraries of the build's DLL folder, fastest first, and after them both sets of
// the AVX-512 library's records, linked into the tests: those for processors that run 512-bit
// operations whole and those for processors that split them, of which the library hands out
// only the set this processor needs.
extern const char *const kKernelLibraries[6];
constexpr const char *kPortableLibrary = "Kernel9_Portable.dll";
constexpr const char *kWholeVectorRecords = "AVX-512 records for whole vectors";
constexpr const char *kSplitVectorRecords = "AVX-512 records for split vectors";

// The record a kernel library of the build's DLL folder reports for the format, or null when
// the library declines (the AVX2 kernel on a processor without AVX2, the AVX-512 kernel and its
// record sets on one without AVX-512). Libraries stay loaded.
const FilterPluginInfo *KernelFrom(const char *library, FrameFormat format);

// Skips the running test, saying why, when the library declines this processor.
void SkipWhereDeclined(const char *library);

// A frame buffer whose last byte sits right before an inaccessible page, so that any access
// one byte past the frame faults (and the test program's main turns the fault into a failure).
class GuardedFrame : public quorlin_host::FrameBuffer {
 public:
  explicit GuardedFrame(size_t bytes) : FrameBuffer(bytes, 1) {}
};

struct ResizeCase {
  FrameFormat format;
  uint8_t kind;  // weight kind of the setter
  int32_t srcWidth, srcHeight, dstWidth, dstHeight;
  int threads;
  CoeffRange range = CoeffRange::Moderate;
  uint32_t seed = 1;
  const char *library = kPortableLibrary;
  // The setter the engine gets; by default one of random tables of `kind`.
  std::function<TWeightSetter *()> makeSetter{};
  // Paints source line y (srcWidth pixels in the host's layout) over the random frame.
  std::function<void(uint8_t *line, int32_t y)> paintSource{};
};

class EngineRun {
 public:
  explicit EngineRun(const ResizeCase &c);
  ~EngineRun();

  const ResizeParams &Params() const { return engine_->Params(); }
  // The frame as the host handed it over.
  const Frame &Source() const { return source_; }
  // The output region (dstWidth x dstHeight) of the buffer the host shows afterwards must equal
  // `expected`; every other byte of both buffers must be as it was.
  void ExpectOutput(const Frame &expected) const;
  // The output region of the buffer the host shows afterwards.
  Frame Output() const;

 private:
  void ExpectUnchanged(const GuardedFrame &buffer, const std::vector<uint8_t> &before,
                       const Frame *region) const;

  ResizeCase case_;
  int32_t lineSize_, maxHeight_;
  GuardedFrame edit_, temp_;
  std::vector<uint8_t> editBefore_, tempBefore_;
  Frame source_;
  TargetSize target_;
  std::unique_ptr<TFilter> engine_;
  FILTER_PROC_INFO fpip_{};
};

// The reference result of the case's pass from the source and the tables the engine built.
Frame ReferenceResult(const EngineRun &run, const ResizeCase &c);
