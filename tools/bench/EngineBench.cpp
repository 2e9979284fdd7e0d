#include "bench/EngineBench.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>

#include "harness/EngineHost.h"
#include "engine/TFilter.h"

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
  // The harness's persistent workers, or no thread service at all.
  Impl(int threads, bool yuy2)
      : host(threads > 0 ? quorlin_harness::ThreadService::Pool
                         : quorlin_harness::ThreadService::None,
             threads),
        yuy2(yuy2) {}

  quorlin_harness::EngineHost host;
  bool yuy2;
  std::vector<uint8_t> imageA, imageB;
};

EngineBench::EngineBench(int threads, bool yuy2) : impl_(new Impl(threads, yuy2)) {
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
  TargetSize target{bench.dstWidth, bench.dstHeight};
  std::vector<double> frameMs, firstFrameMs;
  double fastestMs = 1e300;
  for (int run = 0; run < runs; ++run) {
    TFilter engine(impl_->yuy2 ? -1 : 0, &target);
    engine.SetWeightSetter(makeSetter());
    engine.SetKernel(kernel);
    auto processOne = [&] {
      FILTER_PROC_INFO fpip = Frame(bench);
      impl_->host.Process(engine, fpip);
    };
    double start = NowMs();
    processOne();
    firstFrameMs.push_back(NowMs() - start);
    const double runStart = NowMs();
    for (int f = 0; f < frames; ++f) {
      start = NowMs();
      processOne();
      fastestMs = std::min(fastestMs, NowMs() - start);
    }
    frameMs.push_back((NowMs() - runStart) / frames);
  }
  const double perFrame = Median(frameMs);
  return {perFrame, fastestMs, std::max(0.0, Median(firstFrameMs) - perFrame)};
}

FILTER_PROC_INFO EngineBench::Frame(const BenchCase &bench) {
  return quorlin_harness::EngineHost::Frame(impl_->imageA.data(), impl_->imageB.data(),
                                            bench.srcWidth, bench.srcHeight, kMaxWidth,
                                            kMaxHeight);
}

GuardCostResult EngineBench::GuardCost(const BenchCase &bench, const FilterPluginInfo *kernel,
                                       const std::function<TWeightSetter *()> &makeSetter,
                                       int frames, int runs) {
  TargetSize target{bench.dstWidth, bench.dstHeight};
  TFilter engine(impl_->yuy2 ? -1 : 0, &target);
  engine.SetWeightSetter(makeSetter());
  engine.SetKernel(kernel);
  FILTER_PROC_INFO fpip = Frame(bench);
  impl_->host.Process(engine, fpip);  // builds the tables the direct passes use
  const bool inPlace = bench.srcHeight == bench.dstHeight;
  auto *params = const_cast<ResizeParams *>(&engine.Params());
  // As the engine: the horizontal pass in place, the others into the scratch image.
  void *image = impl_->imageA.data();
  void *scratch = impl_->imageB.data();
  directPass = {RoutineFor(*kernel, bench, engine.Setter()->WeightKind() == kSeparateWeights),
                inPlace ? image : scratch, image, params};
  auto engineFrames = [&] {
    for (int f = 0; f < frames; ++f) {
      fpip = Frame(bench);
      impl_->host.Process(engine, fpip);
    }
  };
  auto directFrames = [&] {
    for (int f = 0; f < frames; ++f) {
      params->TileCounter = 0;
      impl_->host.Run(RunDirectShare, nullptr, nullptr);
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
