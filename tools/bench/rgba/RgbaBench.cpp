// rgba_bench: milliseconds per frame of the RGBA engine resizing 8-bit RGBA with Spline36, for
// the usual geometries: one thread with every instruction set the processor runs, and two
// threads with the automatic choice. Each figure is the median over `runs` runs of `frames`
// frames, with the fastest single frame beside it and the median processor time a frame (all of
// the process's threads), which other programs on a shared machine disturb less.
//
//   rgba_bench [--frames N] [--runs N] [--geometry SW SH DW DH]...
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "rgba/RgbaResizer.h"

namespace {

struct Geometry {
  int32_t sw, sh, dw, dh;
};

struct Figures {
  double medianMs, fastestMs, cpuMs;
};

// Processor time of the whole process so far, milliseconds.
double ProcessCpuMs() {
  FILETIME created, exited, kernel, user;
  GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
  const auto ms = [](const FILETIME &t) {
    return ((uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 1e4;
  };
  return ms(kernel) + ms(user);
}

struct Frame {
  Frame(int32_t width, int32_t height) : pixels(size_t(4) * width * height) {
    image = rgba::Image{pixels.data(), width, height, 4 * width};
  }
  std::vector<uint8_t> pixels;
  rgba::Image image;
};

// A picture with every alpha from clear to opaque and colour that changes at every pixel.
Frame TestFrame(int32_t width, int32_t height) {
  Frame frame(width, height);
  for (size_t i = 0; i < frame.pixels.size(); ++i) {
    frame.pixels[i] = static_cast<uint8_t>((i * 37) ^ (i >> 7));
  }
  return frame;
}

Figures MsPerFrame(const Geometry &g, rgba::Isa isa, rgba::ThreadPool &pool, int frames,
                   int runs) {
  const Frame src = TestFrame(g.sw, g.sh);
  Frame dst(g.dw, g.dh);
  const rgba::ResizeOptions options{rgba::DefaultMethodIndex(), 0, false, isa};
  using Ms = std::chrono::duration<double, std::milli>;
  std::vector<double> times, cpuTimes;
  double fastest = 1e300;
  if (!rgba::Resize(src.image, dst.image, options, pool)) {
    std::fprintf(stderr, "rgba_bench: out of memory\n");
    std::exit(1);
  }
  for (int r = 0; r < runs; ++r) {
    const auto runStart = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuMs();
    for (int f = 0; f < frames; ++f) {
      const auto start = std::chrono::steady_clock::now();
      rgba::Resize(src.image, dst.image, options, pool);
      fastest = std::min(fastest, Ms(std::chrono::steady_clock::now() - start).count());
    }
    times.push_back(Ms(std::chrono::steady_clock::now() - runStart).count() / frames);
    cpuTimes.push_back((ProcessCpuMs() - cpuStart) / frames);
  }
  std::sort(times.begin(), times.end());
  std::sort(cpuTimes.begin(), cpuTimes.end());
  return {times[times.size() / 2], fastest, cpuTimes[cpuTimes.size() / 2]};
}

const char *IsaName(rgba::Isa isa) {
  switch (isa) {
    case rgba::Isa::Avx512: return "AVX-512";
    case rgba::Isa::Avx2: return "AVX2";
    case rgba::Isa::Sse2: return "SSE2";
    case rgba::Isa::Portable: return "C++";
    case rgba::Isa::Auto: break;
  }
  return "auto";
}

}  // namespace

int main(int argc, char **argv) {
  int frames = 20, runs = 5;
  std::vector<Geometry> geometries;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--frames") && i + 1 < argc) {
      frames = std::max(1, std::atoi(argv[++i]));
    } else if (!std::strcmp(argv[i], "--runs") && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (!std::strcmp(argv[i], "--geometry") && i + 4 < argc) {
      geometries.push_back({std::atoi(argv[i + 1]), std::atoi(argv[i + 2]),
                            std::atoi(argv[i + 3]), std::atoi(argv[i + 4])});
      i += 4;
    } else {
      std::fprintf(stderr, "usage: rgba_bench [--frames N] [--runs N] [--geometry SW SH DW DH]...\n");
      return 2;
    }
  }
  if (geometries.empty()) {
    geometries = {{1920, 1080, 1280, 720}, {1280, 720, 1920, 1080}, {3840, 2160, 1920, 1080}};
  }
  rgba::ThreadPool one(1), two(2);
  for (const Geometry &g : geometries) {
    std::vector<rgba::Isa> isas;
    for (rgba::Isa isa : {rgba::Isa::Avx512, rgba::Isa::Avx2, rgba::Isa::Sse2}) {
      if (rgba::EffectiveIsa(isa) == isa) isas.push_back(isa);
    }
    for (rgba::Isa isa : isas) {
      const Figures figures = MsPerFrame(g, isa, one, frames, runs);
      std::printf("rgba %s %dx%d -> %dx%d 1thr: %.3f ms, fastest frame %.3f ms, cpu %.3f ms\n",
                  IsaName(isa), g.sw, g.sh, g.dw, g.dh, figures.medianMs, figures.fastestMs,
                  figures.cpuMs);
    }
    const rgba::Isa best = rgba::EffectiveIsa(rgba::Isa::Auto);
    const Figures figures = MsPerFrame(g, best, two, frames, runs);
    std::printf("rgba %s %dx%d -> %dx%d 2thr: %.3f ms, fastest frame %.3f ms, cpu %.3f ms\n",
                IsaName(best), g.sw, g.sh, g.dw, g.dh, figures.medianMs, figures.fastestMs,
                figures.cpuMs);
  }
  return 0;
}
