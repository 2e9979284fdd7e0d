// quorlin_bench: median milliseconds per frame of the engine with every kernel library found,
// for the usual geometries and methods, on one and two threads, and the fastest single frame
// of each. --only keeps the rows whose "kernel method geometry" text contains the given text
// (e.g. "AVX2 Spline36 1920x1080").
//
// --guard-cost prints, instead, the engine's frame against the same kernel pass called straight
// without the engine's guards, in alternating runs, and the ratio of their medians.
//
//   quorlin_bench [--dll DIR] [--frames N] [--runs N] [--yuy2] [--only TEXT] [--guard-cost]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench/EngineBench.h"
#include "common/LibraryGuard.h"
#include "engine/TAreaAverage.h"
#include "engine/TFilterPluginList.h"
#include "engine/TNearestNeighbor.h"
#include "engine/TNormalWeightSetter.h"
#include "engine/TYUY2WeightSetter.h"
#include "plugins/WindowFuncPlugin.h"

namespace {

struct Options {
  std::string dllDir = QUORLIN_DIST_DLL;
  int frames = 20;
  int runs = 5;
  bool yuy2 = false;
  bool guardCost = false;
  std::string only;
};

Options ParseOptions(int argc, char **argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    bool hasValue = i + 1 < argc;
    if (arg == "--dll" && hasValue) options.dllDir = argv[++i];
    else if (arg == "--frames" && hasValue) options.frames = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--runs" && hasValue) options.runs = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--yuy2") options.yuy2 = true;
    else if (arg == "--guard-cost") options.guardCost = true;
    else if (arg == "--only" && hasValue) options.only = argv[++i];
    else {
      std::fprintf(stderr, "quorlin_bench: unknown option %s\n", arg.c_str());
      std::exit(2);
    }
  }
  return options;
}

struct Method {
  const char *name;
  std::function<TWeightSetter *()> make;
};

// The window function named `name` as a setter: one function for all channels in YC48 mode,
// the YUY2 setter in YUY2 mode.
std::function<TWeightSetter *()> WindowSetter(const TWndFuncPluginList &functions, const char *name,
                                              bool yuy2) {
  int32_t index = functions.IndexOfName(name);
  if (index < 0) return nullptr;
  const WindowFuncInfo *info = functions.Item(index);
  if (yuy2)
    return [info] {
      auto *setter = new TYUY2WeightSetter();
      setter->SetWindowFuncs(info, info, info->ParamDefault, info->ParamDefault);
      return setter;
    };
  return [info] {
    auto *setter = new TNormalWeightSetter();
    setter->SetWindowFunc(info, info->ParamDefault);
    return setter;
  };
}

// Nanoseconds of one guarded call of a function that does nothing: the guard's whole cost per
// call, which a frame pays once per worker thread. Median of `runs` runs of a million calls.
double GuardedCallNs(int runs) {
  constexpr int kCalls = 1000000;
  std::vector<double> ns;
  for (int run = 0; run < runs; ++run) {
    auto nothing = [] { asm volatile(""); };
    LARGE_INTEGER start, end, frequency;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    for (int i = 0; i < kCalls; ++i) RunGuarded(nothing);
    QueryPerformanceCounter(&end);
    ns.push_back((end.QuadPart - start.QuadPart) * 1e9 / frequency.QuadPart / kCalls);
  }
  std::sort(ns.begin(), ns.end());
  return ns[ns.size() / 2];
}

// One row of --guard-cost.
void PrintGuardCost(EngineBench &engineBench, int threads, const BenchCase &bench, const FilterPluginInfo *kernel, const Method &method,
                    const Options &options) {
  const GuardCostResult cost =
      engineBench.GuardCost(bench, kernel, method.make, options.frames, options.runs);
  std::printf("%-8s %-16s %-26s %4d %9.3f %9.3f %8.4f\n", kernel->Name, method.name, bench.name,
              threads, cost.guardedMs, cost.directMs, cost.guardedMs / cost.directMs);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char **argv) {
  const Options options = ParseOptions(argc, argv);
  TWndFuncPluginList functions;
  functions.LoadPlugins(options.dllDir.c_str());
  TFilterPluginList kernels;
  kernels.LoadPlugins(options.dllDir.c_str(), options.yuy2 ? -1 : 0);
  if (kernels.Count() == 0) {
    std::fprintf(stderr, "quorlin_bench: no kernel library in %s\n", options.dllDir.c_str());
    return 1;
  }

  std::vector<Method> methods;
  for (const char *name : {"Spline36", "Lanczos"})
    if (auto make = WindowSetter(functions, name, options.yuy2)) methods.push_back({name, make});
  if (!options.yuy2) {
    methods.push_back({"AreaAverage", [] { return new TAreaAverage(); }});
    methods.push_back({"NearestNeighbor", [] { return new TNearestNeighbor(); }});
  }
  const BenchCase cases[] = {
      {"1920x1080 -> 1280x720", 1920, 1080, 1280, 720},
      {"1280x720 -> 1920x1080", 1280, 720, 1920, 1080},
      // The two halves of each combined pass alone, in its order: the vertical filter over the
      // source columns, then the horizontal filter over the output rows.
      {"1920x1080 -> 1920x720", 1920, 1080, 1920, 720},
      {"1920x720 -> 1280x720", 1920, 720, 1280, 720},
      {"1280x720 -> 1280x1080", 1280, 720, 1280, 1080},
      {"1280x1080 -> 1920x1080", 1280, 1080, 1920, 1080},
  };

  if (options.guardCost) {
    std::printf("%s frames, median of %d alternating runs of %d frames (ms per frame; guarded = "
                "the engine, direct = the kernel pass alone)\n",
                options.yuy2 ? "YUY2" : "YC48", options.runs, options.frames);
    std::printf("one guarded call of an empty function: %.1f ns\n", GuardedCallNs(options.runs));
    std::printf("%-8s %-16s %-26s %4s %9s %9s %8s\n", "kernel", "method", "geometry", "thr",
                "guarded", "direct", "ratio");
  } else {
    std::printf("%s frames, median of %d runs of %d frames (ms per frame; rebuild = tables for a "
                "new geometry)\n", options.yuy2 ? "YUY2" : "YC48", options.runs, options.frames);
    std::printf("%-8s %-16s %-26s %8s %8s %8s %9s %9s %9s\n", "kernel", "method", "geometry",
                "1 thr", "2 thr", "speedup", "rebuild", "fastest1", "fastest2");
  }
  EngineBench oneThread(1, options.yuy2), twoThreads(2, options.yuy2);
  for (int32_t k = 0; k < kernels.Count(); ++k) {
    const FilterPluginInfo *kernel = kernels.Item(k);
    for (const Method &method : methods) {
      for (const BenchCase &bench : cases) {
        // Area average and nearest neighbour only shrink or repeat samples: one geometry each.
        if (std::strcmp(method.name, "Spline36") != 0 && &bench != &cases[0]) continue;
        const std::string row = std::string(kernel->Name) + " " + method.name + " " + bench.name;
        if (row.find(options.only) == std::string::npos) continue;
        if (options.guardCost) {
          PrintGuardCost(oneThread, 1, bench, kernel, method, options);
          PrintGuardCost(twoThreads, 2, bench, kernel, method, options);
          continue;
        }
        BenchResult one = oneThread.Run(bench, kernel, method.make, options.frames, options.runs);
        BenchResult two = twoThreads.Run(bench, kernel, method.make, options.frames, options.runs);
        std::printf("%-8s %-16s %-26s %8.3f %8.3f %7.2fx %9.3f %9.3f %9.3f\n", kernel->Name,
                    method.name, bench.name, one.msPerFrame, two.msPerFrame,
                    one.msPerFrame / two.msPerFrame, one.rebuildMs, one.fastestMs,
                    two.fastestMs);
        std::fflush(stdout);
      }
    }
  }
  return 0;
}
