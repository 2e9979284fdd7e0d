// The resampling engine: resizes the host's current frame to the target size, in the host's
// buffers, by running a kernel library's routines over weight tables built by the current
// weight setter. Tables, tiles and work areas are rebuilt only when the geometry changes.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "contracts/FilterPluginInfo.h"
#include "contracts/ResizeParams.h"
#include "engine/TWeightSetter.h"
#include "hostsdk/AviUtlPlugin.h"

// The target size as the live settings record holds it in its first two fields.
struct TargetSize {
  int32_t Width;
  int32_t Height;
};

class TFilter {
 public:
  // `yuy2` non-zero: frames are packed YUY2, else YC48. `target` is read on every frame.
  TFilter(int32_t yuy2, const TargetSize *target);
  virtual ~TFilter();
  TFilter(const TFilter &) = delete;
  TFilter &operator=(const TFilter &) = delete;

  // Takes ownership of `setter` (null allowed), destroys the previous one and forces a rebuild.
  void SetWeightSetter(TWeightSetter *setter);
  // The record stays owned by the kernel list. Null leaves frames unchanged.
  void SetKernel(const FilterPluginInfo *kernel);

  // Resizes the frame of `fpip` when it differs from the target; always returns -1 (the host's
  // true). Never throws: a failed rebuild leaves the frame unchanged and the engine invalid.
  // When a call into the kernel's or the setter's library faults, or would go to a library out
  // of use, the engine drops that kernel or setter at once and the frame goes back as the host
  // gave it (the in-place horizontal pass may have written part of it).
  BOOL ProcessFrame(FILTER *fp, FILTER_PROC_INFO *fpip);
  // True once after a frame that dropped the kernel or the setter: the caller chooses again.
  bool TakeDroppedNotice();

  const ResizeParams &Params() const { return params_; }
  uint32_t ThreadSlots() const { return threadSlots_; }
  bool IsYUY2() const { return isYUY2_ != 0; }
  const TWeightSetter *Setter() const { return setter_.get(); }
  const FilterPluginInfo *Kernel() const { return kernel_; }

 protected:
  // Fills the geometry of Params and allocates the work areas and tile tables.
  virtual void SetGeometry(int32_t srcWidth, int32_t srcHeight, int32_t dstWidth,
                           int32_t dstHeight, int32_t maxWidth);
  // Has the setter build the weight tables and fills the tile tables.
  void BuildTables();
  // Releases every table and buffer and zeroes Params, which forces the next rebuild.
  void ReleaseBuffers();

 private:
  enum class Pass { Horizontal, Vertical, Combined };

  // A kernel routine and the name of its record field, for the report of a fault.
  struct NamedRoutine {
    KernelRoutine Routine;
    const char *Name;
  };

  bool SetterFitsFormat() const;
  bool TargetFitsFrame(const FILTER_PROC_INFO &fpip, int32_t dstWidth, int32_t dstHeight) const;
  bool NeedsRebuild(const FILTER_PROC_INFO &fpip, int32_t dstWidth, int32_t dstHeight) const;
  void Rebuild(const FILTER_PROC_INFO &fpip, int32_t dstWidth, int32_t dstHeight);
  void BuildAxis(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                 int32_t horizontal);
  void FillTiles(TileRange *tiles, int32_t tileCount, int32_t blockSize, int32_t dstLen,
                 const WeightTable &table, int32_t step);
  void FillYUY2ColumnTiles();
  int32_t KernelWorkSize(WorkSizeFunc workSize, const char *call);
  bool RunPass(Pass pass, FILTER *fp, FILTER_PROC_INFO *fpip);
  void RunShare(Pass pass, const FILTER_PROC_INFO &fpip, int32_t index, int32_t count);
  NamedRoutine RoutineFor(Pass pass) const;
  void DropKernel();
  void DropSetter();
  static void __cdecl ThreadProc(int threadIndex, int threadCount, void *fp, void *fpip);

  const int32_t isYUY2_;
  const uint32_t threadSlots_;
  const TargetSize *const target_;
  std::unique_ptr<TWeightSetter> setter_;
  ResizeParams params_{};
  const FilterPluginInfo *kernel_ = nullptr;
  HMODULE kernelLibrary_ = nullptr;  // the library of kernel_, null for a record of no list
  std::atomic<uint32_t> passFault_{0};  // first exception code a worker's routine ended with
  bool dropped_ = false;                // a fault dropped the kernel or the setter
  int32_t builtMaxWidth_ = 0;   // max_w the buffers were sized for; part of the rebuild key
  Pass dispatchPass_ = Pass::Horizontal;

  static TFilter *dispatching_;  // the engine whose pass the host's worker threads run
};
