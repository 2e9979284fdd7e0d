#include "bench/EngineBench.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "engine/TFilter.h"
#include "host/WorkerPool.h"

namespace {

constexpr int32_t kMaxWidth = 1920, kMaxHeight = 1088;

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart * 1000.0 / frequency.QuadPart;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

quorlin_host::WorkerPool *activePool = nullptr;

BOOL __cdecl RunOnPool(MULTI_THREAD_FUNC func, void *param1, void *param2) {
  activePool->Run(func, param1, param2);
  return TRUE;
}

// The pass the bench calls straight, outside the engine, on every worker thread.
struct DirectPass {
  KernelRoutine routine;
  void *dst;
  const void *src;
  ResizeParams *params;
};
DirectPass directPass{};

void __cdecl RunDirectShare(int index, int count, void *, void *) {
  directPass.routine(directPass.dst, directPass.src, directPass.params, index, count);
}

// The routine the engine picks for this geometry and weight kind.
KernelRoutine RoutineFor(const FilterPluginInfo &kernel, const BenchCase &bench, bool separate) {
  if (bench.srcHeight == bench.dstHeight) return separate ? kernel.ResizeHSep : kernel.ResizeH;
  if (bench.srcWidth == bench.dstWidth) return separate ? kernel.ResizeVSep : kernel.ResizeV;
  return separate ? kernel.ResizeHVSep : kernel.ResizeHV;
}

// A frame with fine detail in every channel, so that no kernel meets only zeros.
void FillPattern(std::vector<uint8_t> &image, bool yuy2) {
  if (yuy2) {
    for (size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>((i * 37) ^ (i >> 7));
    return;
  }
  auto *samples = reinterpret_cast<int16_t *>(image.data());
  for (size_t i = 0; i < image.size() / 2; ++i)
    samples[i] = static_cast<int16_t>(((i * 2654435761u) >> 20) & 4095) - (i % 3 ? 2048 : 0);
}

}  // namespace

struct EngineBench::Impl {
  std::unique_ptr<quorlin_host::WorkerPool> pool;
  EXFUNC exfunc{};
  FILTER filter{};
  bool yuy2;
  std::vector<uint8_t> imageA, imageB;
};

EngineBench::EngineBench(int threads, bool yuy2) : impl_(new Impl) {
  impl_->yuy2 = yuy2;
  if (threads > 0) {
    impl_->pool.reset(new quorlin_host::WorkerPool(threads));
    impl_->exfunc.exec_multi_thread_func = RunOnPool;
  }
  impl_->filter.exfunc = &impl_->exfunc;
  const size_t bytes = size_t(kMaxWidth) * kMaxHeight * (yuy2 ? 2 : 6);
  impl_->imageA.resize(bytes);
  impl_->imageB.resize(bytes);
  FillPattern(impl_->imageA, yuy2);
  FillPattern(impl_->imageB, yuy2);
}

EngineBench::~EngineBench() = default;

BenchResult EngineBench::Run(const BenchCase &bench, const FilterPluginInfo *kernel,
                             const std::function<TWeightSetter *()> &makeSetter, int frames,
                             int runs) {
  activePool = impl_->pool.get();
  TargetSize target{bench.dstWidth, bench.dstHeight};
  std::vector<double> frameMs, firstFrameMs;
  for (int run = 0; run < runs; ++run) {
    TFilter engine(impl_->yuy2 ? -1 : 0, &target);
    engine.SetWeightSetter(makeSetter());
    engine.SetKernel(kernel);
    FILTER_PROC_INFO fpip{};
    auto processOne = [&] {
      ResetFrame(bench, &fpip);
      engine.ProcessFrame(&impl_->filter, &fpip);
    };
    double start = NowMs();
    processOne();
    firstFrameMs.push_back(NowMs() - start);
    start = NowMs();
    for (int f = 0; f < frames; ++f) processOne();
    frameMs.push_back((NowMs() - start) / frames);
  }
  const double perFrame = Median(frameMs);
  return {perFrame, std::max(0.0, Median(firstFrameMs) - perFrame)};
}

void EngineBench::ResetFrame(const BenchCase &bench, FILTER_PROC_INFO *fpip) {
  fpip->ycp_edit = impl_->imageA.data();
  fpip->ycp_temp = impl_->imageB.data();
  fpip->w = bench.srcWidth;
  fpip->h = bench.srcHeight;
  fpip->max_w = kMaxWidth;
  fpip->max_h = kMaxHeight;
}

GuardCostResult EngineBench::GuardCost(const BenchCase &bench, const FilterPluginInfo *kernel,
                                       const std::function<TWeightSetter *()> &makeSetter,
                                       int frames, int runs) {
  activePool = impl_->pool.get();
  TargetSize target{bench.dstWidth, bench.dstHeight};
  TFilter engine(impl_->yuy2 ? -1 : 0, &target);
  engine.SetWeightSetter(makeSetter());
  engine.SetKernel(kernel);
  FILTER_PROC_INFO fpip{};
  ResetFrame(bench, &fpip);
  engine.ProcessFrame(&impl_->filter, &fpip);  // builds the tables the direct passes use
  const bool inPlace = bench.srcHeight == bench.dstHeight;
  auto *params = const_cast<ResizeParams *>(&engine.Params());
  // As the engine: the horizontal pass in place, the others into the scratch image.
  void *image = impl_->imageA.data();
  void *scratch = impl_->imageB.data();
  directPass = {RoutineFor(*kernel, bench, engine.Setter()->WeightKind() == kSeparateWeights),
                inPlace ? image : scratch, image, params};
  auto engineFrames = [&] {
    for (int f = 0; f < frames; ++f) {
      ResetFrame(bench, &fpip);
      engine.ProcessFrame(&impl_->filter, &fpip);
    }
  };
  auto directFrames = [&] {
    for (int f = 0; f < frames; ++f) {
      params->TileCounter = 0;
      if (activePool)
        activePool->Run(RunDirectShare, nullptr, nullptr);
      else
        RunDirectShare(0, 1, nullptr, nullptr);
    }
  };
  auto timed = [&](const std::function<void()> &runFrames) {
    const double start = NowMs();
    runFrames();
    return (NowMs() - start) / frames;
  };
  // Each kind goes first in every other run, so neither always finds the caches the other left.
  std::vector<double> guarded, direct;
  for (int run = 0; run < runs; ++run) {
    if (run % 2 == 0) guarded.push_back(timed(engineFrames));
    direct.push_back(timed(directFrames));
    if (run % 2 == 1) guarded.push_back(timed(engineFrames));
  }
  return {Median(guarded), Median(direct)};
}
