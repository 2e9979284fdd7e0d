// One random frame resized by the portable kernel through the engine (TFilter::ProcessFrame),
// with the host's frame buffers ending at a guard page and the host's thread service running
// the pass on real threads.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/FilterPluginInfo.h"
#include "engine/TFilter.h"
#include "kernels/RandomTables.h"
#include "kernels/ReferenceResize.h"
#include "support/GuardedFrame.h"

// The kernel library from the build's DLL folder, loaded once.
const FilterPluginInfo &PortableKernel(FrameFormat format);

struct ResizeCase {
  FrameFormat format;
  uint8_t kind;  // weight kind of the setter
  int32_t srcWidth, srcHeight, dstWidth, dstHeight;
  int threads;
  CoeffRange range = CoeffRange::Moderate;
  uint32_t seed = 1;
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
