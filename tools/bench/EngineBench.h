// Times the engine's ProcessFrame for one kernel, one weight setter and one geometry.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "contracts/FilterPluginInfo.h"
#include "engine/TWeightSetter.h"
#include "hostsdk/AviUtlPlugin.h"

struct BenchCase {
  const char *name;
  int32_t srcWidth, srcHeight, dstWidth, dstHeight;
};

struct BenchResult {
  double msPerFrame;    // median over the runs of each run's mean frame
  double fastestMs;     // the fastest single frame of all runs: the figure least moved by load
  double rebuildMs;     // median time of the first frame of a run (tables built), minus a frame
};

struct GuardCostResult {
  double guardedMs;    // the engine's frame: guarded kernel calls and the frame's bookkeeping
  double directMs;     // the same kernel pass called straight on the engine's tables
};

class EngineBench {
 public:
  // `threads` workers behind the host's thread service (0: none, the caller's thread alone).
  EngineBench(int threads, bool yuy2);
  ~EngineBench();

  BenchResult Run(const BenchCase &bench, const FilterPluginInfo *kernel,
                  const std::function<TWeightSetter *()> &makeSetter, int frames, int runs);
  // What the engine's guards cost: runs of the engine's frames alternate with runs of the same
  // pass called straight, without guards, on the tables the engine built; medians of each.
  GuardCostResult GuardCost(const BenchCase &bench, const FilterPluginInfo *kernel,
                            const std::function<TWeightSetter *()> &makeSetter, int frames,
                            int runs);

 private:
  struct Impl;
  // The record of a frame of the bench's source size in the bench's images.
  FILTER_PROC_INFO Frame(const BenchCase &bench);

  std::unique_ptr<Impl> impl_;
};
