#include "engine/TFilter.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <utility>

#include "common/FpuPrecision.h"
#include "common/LibraryCall.h"
#include "common/mmutil.h"

TFilter *TFilter::dispatching_ = nullptr;

namespace {

constexpr BOOL kHostTrue = -1;
constexpr uint32_t kMaxThreadSlots = 64;

uint32_t ThreadSlotsForThisMachine() {
  SYSTEM_INFO info;
  GetSystemInfo(&info);
  uint64_t slots = 2ull * info.dwNumberOfProcessors;
  return static_cast<uint32_t>(std::min<uint64_t>(std::max<uint64_t>(slots, 1), kMaxThreadSlots));
}

// Allocates `count` slices of `sliceBytes`, or returns null when the kernel asked for none.
uint8_t *AllocateSlices(int32_t sliceBytes, uint32_t count, size_t alignment) {
  if (sliceBytes <= 0) return nullptr;
  uint64_t total = static_cast<uint64_t>(sliceBytes) * count;
  if (total > 0x7FFFFFFFu) throw std::bad_alloc();
  return static_cast<uint8_t *>(AlignedAlloc(static_cast<size_t>(total), alignment));
}

int32_t TileCountFor(int32_t length, uint32_t blockSize) {
  int64_t tiles = (static_cast<int64_t>(length) + blockSize - 1) / blockSize;
  if (tiles > 0x7FFFFFF) throw std::bad_alloc();
  return static_cast<int32_t>(tiles);
}

void FreeTable(WeightTable &table) {
  AlignedFree(table.Pool);
  AlignedFree(table.Entries);
}

// Source units read by an entry: its block's pairs, each `unitsPerPair` steps wide.
int32_t EntryEnd(const WeightEntry &entry, int32_t step, int32_t unitsPerPair) {
  return entry.Offset + PairCount(entry.Coeffs) * unitsPerPair * step;
}

}  // namespace

TFilter::TFilter(int32_t yuy2, const TargetSize *target)
    : isYUY2_(yuy2), threadSlots_(ThreadSlotsForThisMachine()), target_(target) {}

TFilter::~TFilter() { ReleaseBuffers(); }

void TFilter::SetWeightSetter(TWeightSetter *setter) {
  setter_.reset(setter);
  ReleaseBuffers();
}

void TFilter::SetKernel(const FilterPluginInfo *kernel) {
  kernel_ = kernel;
  kernelLibrary_ = LibraryOfRecord(kernel);
}

bool TFilter::TakeDroppedNotice() { return std::exchange(dropped_, false); }

void TFilter::DropKernel() {
  ReleaseBuffers();
  kernel_ = nullptr;
  dropped_ = true;
}

// The setter goes without a call into its library's broken code: its instances' Release is not
// made for a library out of use.
void TFilter::DropSetter() {
  ReleaseBuffers();
  setter_.reset();
  dropped_ = true;
}

BOOL TFilter::ProcessFrame(FILTER *fp, FILTER_PROC_INFO *fpip) {
  const int32_t dstWidth = target_->Width;
  const int32_t dstHeight = target_->Height;
  if (fpip->w == dstWidth && fpip->h == dstHeight) return kHostTrue;
  // A library may have gone out of use through another of its records since the last frame.
  if (kernel_ && IsLibraryBroken(kernelLibrary_)) DropKernel();
  if (!setter_ || !kernel_) return kHostTrue;
  if (!SetterFitsFormat()) return kHostTrue;
  // The target comes from project files: one that does not fit the host's buffers passes the
  // frame through rather than writing outside them.
  if (!TargetFitsFrame(*fpip, dstWidth, dstHeight)) return kHostTrue;
  try {
    if (NeedsRebuild(*fpip, dstWidth, dstHeight)) Rebuild(*fpip, dstWidth, dstHeight);
  } catch (const LibraryFault &fault) {
    if (fault.Record == kernel_)
      DropKernel();
    else
      DropSetter();
    return kHostTrue;
  } catch (...) {
    ReleaseBuffers();  // no half-built tables survive; the next frame rebuilds from scratch
    return kHostTrue;
  }

  params_.TileCounter = 0;
  const bool widthChanges = fpip->w != dstWidth;
  const bool heightChanges = fpip->h != dstHeight;
  const Pass pass = !heightChanges ? Pass::Horizontal : !widthChanges ? Pass::Vertical : Pass::Combined;
  if (!RunPass(pass, fp, fpip)) return kHostTrue;

  if (pass != Pass::Horizontal) std::swap(fpip->ycp_edit, fpip->ycp_temp);
  fpip->w = dstWidth;
  fpip->h = dstHeight;
  return kHostTrue;
}

// A kind the kernels have no routine for would leave the output unwritten. YUY2 frames take
// separate-weight tables only: their horizontal table is read in groups of three entries per
// output pixel pair, which a shared-weight table does not have.
bool TFilter::SetterFitsFormat() const {
  const uint8_t kind = setter_->WeightKind();
  if (isYUY2_) return kind == kSeparateWeights;
  return kind == kSharedWeights || kind == kSeparateWeights;
}

bool TFilter::TargetFitsFrame(const FILTER_PROC_INFO &fpip, int32_t dstWidth,
                              int32_t dstHeight) const {
  const bool inside = dstWidth > 0 && dstHeight > 0 && dstWidth <= fpip.max_w &&
                      dstHeight <= fpip.max_h && fpip.w > 0 && fpip.h > 0 &&
                      fpip.w <= fpip.max_w && fpip.h <= fpip.max_h;
  if (!inside) return false;
  // YUY2 pixels come in pairs: an odd width has no whole last pair.
  return !isYUY2_ || (dstWidth % 2 == 0 && fpip.w % 2 == 0);
}

bool TFilter::NeedsRebuild(const FILTER_PROC_INFO &fpip, int32_t dstWidth,
                           int32_t dstHeight) const {
  return fpip.w != params_.SrcWidth || fpip.h != params_.SrcHeight ||
         dstWidth != params_.DstWidth || dstHeight != params_.DstHeight ||
         fpip.max_w != builtMaxWidth_;  // LineSize follows max_w
}

void TFilter::Rebuild(const FILTER_PROC_INFO &fpip, int32_t dstWidth, int32_t dstHeight) {
  X87DoublePrecision precision;
  ReleaseBuffers();
  SetGeometry(fpip.w, fpip.h, dstWidth, dstHeight, fpip.max_w);
  BuildTables();
  builtMaxWidth_ = fpip.max_w;
}

void TFilter::SetGeometry(int32_t srcWidth, int32_t srcHeight, int32_t dstWidth,
                          int32_t dstHeight, int32_t maxWidth) {
  params_.SrcWidth = srcWidth;
  params_.SrcHeight = srcHeight;
  params_.DstWidth = dstWidth;
  params_.DstHeight = dstHeight;
  params_.TilesX = TileCountFor(dstWidth, kernel_->BlockWidth);
  params_.TilesY = TileCountFor(dstHeight, kernel_->BlockHeight);
  params_.TileCount = params_.TilesX * params_.TilesY;
  params_.LineSize = maxWidth * (isYUY2_ ? 2 : 6);
  params_.HStep = isYUY2_ ? 8 : 48;
  params_.LinePairStep = params_.LineSize * 2;

  params_.Work1Size = KernelWorkSize(kernel_->GetWorkSize1, "GetWorkSize1");
  params_.Work1 = AllocateSlices(params_.Work1Size, threadSlots_, 128);
  params_.Work2Size = KernelWorkSize(kernel_->GetWorkSize2, "GetWorkSize2");
  params_.Work2 = AllocateSlices(params_.Work2Size, threadSlots_, 128);
  params_.ColumnTiles = static_cast<TileRange *>(AlignedAlloc(params_.TilesX * sizeof(TileRange), 16));
  params_.RowTiles = static_cast<TileRange *>(AlignedAlloc(params_.TilesY * sizeof(TileRange), 16));
}

int32_t TFilter::KernelWorkSize(WorkSizeFunc workSize, const char *call) {
  int32_t bytes = 0;
  CallLibrary(kernelLibrary_, kernel_, call, [&] { bytes = workSize(&params_, 8); });
  return bytes;
}

void TFilter::BuildTables() {
  ResizeParams &p = params_;
  if (p.DstWidth != p.SrcWidth) BuildAxis(&p.HWeights, p.SrcWidth, p.DstWidth, p.HStep, -1);
  if (p.DstWidth == p.SrcWidth || p.DstHeight == p.SrcHeight) {
    if (p.DstHeight != p.SrcHeight)
      BuildAxis(&p.VWeights, p.SrcHeight, p.DstHeight, p.LinePairStep, 0);
    return;  // single-axis pass: the tiles stay unfilled
  }
  const int32_t vStep = kernel_->CombinedVStep;
  BuildAxis(&p.VWeights, p.SrcHeight, p.DstHeight, vStep, 0);
  if (isYUY2_)
    FillYUY2ColumnTiles();
  else
    FillTiles(p.ColumnTiles, p.TilesX, kernel_->BlockWidth, p.DstWidth, p.HWeights, p.HStep);
  FillTiles(p.RowTiles, p.TilesY, kernel_->BlockHeight, p.DstHeight, p.VWeights, vStep);
}

void TFilter::BuildAxis(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                        int32_t horizontal) {
  if (dstLen < srcLen)
    setter_->SetShrinkWeights(table, srcLen, dstLen, step, horizontal);
  else
    setter_->SetEnlargeWeights(table, srcLen, dstLen, step, horizontal);
}

void TFilter::FillTiles(TileRange *tiles, int32_t tileCount, int32_t blockSize, int32_t dstLen,
                        const WeightTable &table, int32_t step) {
  for (int32_t i = 0; i < tileCount; ++i) {
    WeightEntry *first = &table.Entries[blockSize * i];
    const WeightEntry &last =
        table.Entries[i == tileCount - 1 ? dstLen - 1 : blockSize * (i + 1) - 1];
    TileRange &tile = tiles[i];
    tile.FirstPos = first->Offset;
    tile.FirstEntry = first;
    tile.FirstUnit = tile.FirstPos / step;
    tile.UnitCount = (EntryEnd(last, step, 1) - tile.FirstPos) / step;
  }
}

// YUY2 column tiles address the horizontal table in groups of three entries per output pixel
// pair: luma of the even column, luma of the odd column, chroma of the pair. A tile holds whole
// pairs: from the pair of its first column to the pair of its last, so with an odd block width
// two neighbouring tiles share the pair they split. One chroma coefficient pair spans two
// source pixel pairs, so a chroma entry reaches twice as far per pair as a luma entry. The tile
// covers every source pair that any of its entries reads.
void TFilter::FillYUY2ColumnTiles() {
  ResizeParams &p = params_;
  const int32_t blockWidth = kernel_->BlockWidth;
  const int32_t step = p.HStep;
  for (int32_t i = 0; i < p.TilesX; ++i) {
    const int32_t firstGroup = (blockWidth * i) / 2;
    const int32_t lastColumn = i == p.TilesX - 1 ? p.DstWidth - 1 : blockWidth * (i + 1) - 1;
    const int32_t lastGroup = lastColumn / 2;
    const YUY2EntryGroup first(p.HWeights.Entries, firstGroup);
    const YUY2EntryGroup last(p.HWeights.Entries, lastGroup);
    TileRange &tile = p.ColumnTiles[i];
    tile.FirstPos = std::min(
        {first.EvenLuma().Offset, first.OddLuma().Offset, first.Chroma().Offset});
    tile.FirstEntry = first.First();
    tile.FirstUnit = tile.FirstPos / step;
    const int32_t end = std::max({EntryEnd(last.EvenLuma(), step, 1),
                                  EntryEnd(last.OddLuma(), step, 1),
                                  EntryEnd(last.Chroma(), step, 2)});
    tile.UnitCount = (end - tile.FirstPos) / step;
  }
}

void TFilter::ReleaseBuffers() {
  FreeTable(params_.HWeights);
  FreeTable(params_.VWeights);
  AlignedFree(params_.Work1);
  AlignedFree(params_.Work2);
  AlignedFree(params_.ColumnTiles);
  AlignedFree(params_.RowTiles);
  std::memset(&params_, 0, sizeof(params_));
  builtMaxWidth_ = 0;
}

TFilter::NamedRoutine TFilter::RoutineFor(Pass pass) const {
  const FilterPluginInfo &k = *kernel_;
  const bool separate = setter_->WeightKind() == kSeparateWeights;
  switch (pass) {
    case Pass::Horizontal:
      return separate ? NamedRoutine{k.ResizeHSep, "ResizeHSep"} : NamedRoutine{k.ResizeH, "ResizeH"};
    case Pass::Vertical:
      return separate ? NamedRoutine{k.ResizeVSep, "ResizeVSep"} : NamedRoutine{k.ResizeV, "ResizeV"};
    case Pass::Combined:
      return separate ? NamedRoutine{k.ResizeHVSep, "ResizeHVSep"}
                      : NamedRoutine{k.ResizeHV, "ResizeHV"};
  }
  return NamedRoutine{nullptr, ""};
}

namespace {

// Destination and source of a pass: the horizontal pass works in place in the image, the
// others write the scratch image from the image.
std::pair<void *, void *> PassBuffers(bool inPlace, const FILTER_PROC_INFO &fpip) {
  return inPlace ? std::make_pair(fpip.ycp_edit, fpip.ycp_edit)
                 : std::make_pair(fpip.ycp_temp, fpip.ycp_edit);
}

}  // namespace

// Runs the pass on the host's worker threads (or on this thread without the service). A
// routine that faults on any thread takes the kernel's library out of use: the report is
// written here, on the host's thread, once the service has returned. False after a fault.
bool TFilter::RunPass(Pass pass, FILTER *fp, FILTER_PROC_INFO *fpip) {
  passFault_ = 0;
  auto exec = fp && fp->exfunc ? fp->exfunc->exec_multi_thread_func : nullptr;
  if (exec) {
    dispatching_ = this;
    dispatchPass_ = pass;
    exec(&TFilter::ThreadProc, fp, fpip);
    dispatching_ = nullptr;
  } else {
    RunShare(pass, *fpip, 0, 1);
  }
  const uint32_t code = passFault_;
  if (code == 0) return true;
  DisableLibrary(kernelLibrary_, RoutineFor(pass).Name, code);
  DropKernel();
  return false;
}

// One thread's share of the pass, guarded; the first fault of any thread is kept.
void TFilter::RunShare(Pass pass, const FILTER_PROC_INFO &fpip, int32_t index, int32_t count) {
  const auto buffers = PassBuffers(pass == Pass::Horizontal, fpip);
  const KernelRoutine routine = RoutineFor(pass).Routine;
  auto share = [&] { routine(buffers.first, buffers.second, &params_, index, count); };
  const uint32_t code = RunGuarded(share);
  uint32_t none = 0;
  if (code != 0) passFault_.compare_exchange_strong(none, code);
}

void __cdecl TFilter::ThreadProc(int threadIndex, int threadCount, void *, void *fpip) {
  TFilter *engine = dispatching_;
  if (!engine || threadIndex < 0 || threadCount < 1) return;
  const int32_t slots = static_cast<int32_t>(engine->threadSlots_);
  if (threadCount > slots) {
    if (threadIndex >= slots) return;
    threadCount = slots;
  }
  engine->RunShare(engine->dispatchPass_, *static_cast<FILTER_PROC_INFO *>(fpip), threadIndex,
                   threadCount);
}
