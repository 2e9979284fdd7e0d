// Times the engine's ProcessFrame for one kernel, one weight setter and one geometry.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "engine/FilterPluginInfo.h"
#include "engine/TWeightSetter.h"

struct BenchCase {
  const char *name;
  int32_t srcWidth, srcHeight, dstWidth, dstHeight;
};

struct BenchResult {
  double msPerFrame;    // median over the runs
  double rebuildMs;     // median time of the first frame of a run (tables built), minus a frame
};

class EngineBench {
 public:
  // `threads` workers behind the host's thread service (0: none, the caller's thread alone).
  EngineBench(int threads, bool yuy2);
  ~EngineBench();

  BenchResult Run(const BenchCase &bench, const FilterPluginInfo *kernel,
                  const std::function<TWeightSetter *()> &makeSetter, int frames, int runs);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};
