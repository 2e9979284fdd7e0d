// floors: the two lower bounds of a resize's time on this machine, measured by small loops on
// the machine itself, for scripts/bench.sh to print beside each kernel figure:
//   - the memory floor: the bytes a frame's pass reads (the source frame) and writes (the
//     output frame) over one thread's read and write bandwidth, each measured over a buffer of
//     that size, so that it sees the caches the pass sees;
//   - the arithmetic floor: the frame's multiply-adds (every output sample's taps of the
//     vertical and of the horizontal filter) over the peak rate of a kernel's multiply-add
//     instruction, measured in a loop that keeps every operand in registers.
// With `rgba`, the same for the ExEdit2 effect's engine (scripts/bench-rgba.sh): 8-bit RGBA
// frames, summed in floats with one multiply and one add a tap, in the cheaper of the two
// filtering orders; its arithmetic floor is the slower of the two instructions' totals, as the
// processor may run a multiply and an add side by side.
// Native program, built by scripts/bench.sh with the system's g++. Prints "name|milliseconds"
// lines and, on standard error, the measured rates.
//
//   floors SRCW SRCH DSTW DSTH [rgba]
#include <immintrin.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTries = 15;  // the fastest try counts: the one least disturbed by other work
constexpr double kSplineRadius = 3;  // Spline36's support on each side, in source pixels

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

template <class Pass>
double FastestSeconds(Pass pass) {
  double best = 1e300;
  for (int t = 0; t < kTries; ++t) {
    const auto start = Clock::now();
    pass();
    best = std::min(best, Seconds(start));
  }
  return best;
}

// Bytes per second read by one thread summing a buffer of `bytes` with 128-bit loads.
double ReadBandwidth(size_t bytes) {
  std::vector<__m128i> buffer(bytes / sizeof(__m128i), _mm_set1_epi32(1));
  __m128i sums[4] = {};
  const double seconds = FastestSeconds([&] {
    for (size_t i = 0; i + 4 <= buffer.size(); i += 4)
      for (int k = 0; k < 4; ++k) sums[k] = _mm_add_epi32(sums[k], buffer[i + k]);
  });
  volatile int keep = _mm_cvtsi128_si32(sums[0]) + _mm_cvtsi128_si32(sums[3]);
  (void)keep;
  return buffer.size() * sizeof(__m128i) / seconds;
}

// Bytes per second written by one thread filling a buffer of `bytes` with 128-bit stores.
double WriteBandwidth(size_t bytes) {
  std::vector<__m128i> buffer(bytes / sizeof(__m128i));
  int round = 0;
  const double seconds = FastestSeconds([&] {
    const __m128i value = _mm_set1_epi32(++round);
    for (__m128i &v : buffer) _mm_store_si128(&v, value);
    __asm__ volatile("" : : "r"(buffer.data()) : "memory");
  });
  return buffer.size() * sizeof(__m128i) / seconds;
}

constexpr long kIterations = 4'000'000;

// One multiply-add into accumulator register n from the two factor registers 14 and 15.
#define MULTIPLY_ADD(insn, reg, n) insn " %%" reg "15, %%" reg "14, %%" reg #n "\n\t"
#define FOURTEEN_MULTIPLY_ADDS(insn, reg)                                                      \
  MULTIPLY_ADD(insn, reg, 0) MULTIPLY_ADD(insn, reg, 1) MULTIPLY_ADD(insn, reg, 2)              \
  MULTIPLY_ADD(insn, reg, 3) MULTIPLY_ADD(insn, reg, 4) MULTIPLY_ADD(insn, reg, 5)              \
  MULTIPLY_ADD(insn, reg, 6) MULTIPLY_ADD(insn, reg, 7) MULTIPLY_ADD(insn, reg, 8)              \
  MULTIPLY_ADD(insn, reg, 9) MULTIPLY_ADD(insn, reg, 10) MULTIPLY_ADD(insn, reg, 11)            \
  MULTIPLY_ADD(insn, reg, 12) MULTIPLY_ADD(insn, reg, 13)

// Instructions per second of one multiply-add instruction: fourteen to independent accumulators
// per iteration, so that the rate, not the latency, bounds the loop.
#define PEAK_RATE(name, insn, reg)                                                            \
  double name() {                                                                             \
    return kIterations * 14 / FastestSeconds([] {                                             \
             for (long i = 0; i < kIterations; ++i)                                            \
               __asm__ volatile(FOURTEEN_MULTIPLY_ADDS(insn, reg)::                            \
                                    : "xmm0", "xmm1", "xmm2", "xmm3", "xmm4", "xmm5", "xmm6",  \
                                      "xmm7", "xmm8", "xmm9", "xmm10", "xmm11", "xmm12",       \
                                      "xmm13");                                                \
           });                                                                                 \
  }

// The SSE2 kernel's pmaddwd runs at the rate of its 128-bit VEX form, measured here.
PEAK_RATE(MaddXmmRate, "vpmaddwd", "xmm")
PEAK_RATE(MaddYmmRate, "vpmaddwd", "ymm")
PEAK_RATE(DotZmmRate, "vpdpwssd", "zmm")
PEAK_RATE(MulXmmRate, "vmulps", "xmm")
PEAK_RATE(AddXmmRate, "vaddps", "xmm")
PEAK_RATE(MulYmmRate, "vmulps", "ymm")
PEAK_RATE(AddYmmRate, "vaddps", "ymm")
PEAK_RATE(MulZmmRate, "vmulps", "zmm")
PEAK_RATE(AddZmmRate, "vaddps", "zmm")

// Taps of Spline36 per output sample from `from` to `to` samples: the support widens with the
// shrink factor.
double Taps(int from, int to) {
  return std::ceil(2 * kSplineRadius * std::max(1.0, static_cast<double>(from) / to));
}

struct Format {
  const char *name;
  int bytesPerPixel;
  double samplesPerPixel;  // YC48: Y, Cb, Cr; YUY2: Y and half a U and a V
};

// The memory floor of a pass reading `readBytes` and writing `writeBytes`, in seconds.
double MemorySeconds(double readBytes, double writeBytes, const char *name, double multiplyAdds) {
  const double read = ReadBandwidth(static_cast<size_t>(readBytes));
  const double write = WriteBandwidth(static_cast<size_t>(writeBytes));
  std::fprintf(stderr, "floors: %s: read %.1f MB at %.1f GB/s, write %.1f MB at %.1f GB/s, "
               "%.1f M multiply-adds\n", name, readBytes / 1e6, read / 1e9, writeBytes / 1e6,
               write / 1e9, multiplyAdds / 1e6);
  return readBytes / read + writeBytes / write;
}

bool RunsAvx512Vnni() {
  return __builtin_cpu_supports("avx512vnni") && __builtin_cpu_supports("avx512bw");
}

// The plug-in's kernels: YC48 and YUY2 frames, 16-bit multiply-adds.
void PluginFloors(int srcW, int srcH, int dstW, int dstH) {
  struct Instruction {
    const char *kernel, *name;
    int multiplyAdds;  // 16-bit multiply-adds of one instruction
    double (*rate)();
  };
  const Instruction instructions[] = {{"SSE2", "pmaddwd xmm", 8, MaddXmmRate},
                                      {"AVX2", "vpmaddwd ymm", 16, MaddYmmRate},
                                      {"AVX-512", "vpdpwssd zmm", 32, DotZmmRate}};
  const bool avx2 = __builtin_cpu_supports("avx2");
  const bool avx512 = RunsAvx512Vnni();
  std::vector<double> rates;
  for (const Instruction &in : instructions) {
    const bool runs = std::strcmp(in.kernel, "AVX-512") == 0 ? avx512 : avx2;
    rates.push_back(runs ? in.rate() * in.multiplyAdds : 0);
    if (runs)
      std::fprintf(stderr, "floors: %s %.1f G multiply-adds/s\n", in.name, rates.back() / 1e9);
  }
  const Format formats[] = {{"yc48", 6, 3}, {"yuy2", 2, 2}};
  for (const Format &f : formats) {
    // The vertical filter first, over the source columns, then the horizontal one.
    const double multiplyAdds =
        f.samplesPerPixel * (static_cast<double>(srcW) * dstH * Taps(srcH, dstH) +
                             static_cast<double>(dstW) * dstH * Taps(srcW, dstW));
    char name[64];
    std::snprintf(name, sizeof name, "%s %dx%d -> %dx%d", f.name, srcW, srcH, dstW, dstH);
    const double memory =
        MemorySeconds(static_cast<double>(srcW) * srcH * f.bytesPerPixel,
                      static_cast<double>(dstW) * dstH * f.bytesPerPixel, name, multiplyAdds);
    std::printf("memory %s %dx%d->%dx%d|%.3f\n", f.name, srcW, srcH, dstW, dstH, 1e3 * memory);
    for (size_t i = 0; i < rates.size(); ++i)
      if (rates[i] > 0)
        std::printf("arithmetic %s %s %dx%d->%dx%d|%.3f\n", instructions[i].kernel, f.name, srcW,
                    srcH, dstW, dstH, 1e3 * multiplyAdds / rates[i]);
  }
}

// The effect's RGBA engine: four float samples a pixel, a multiply and an add a tap.
void RgbaFloors(int srcW, int srcH, int dstW, int dstH) {
  struct Instructions {
    const char *kernel;
    int lanes;  // float samples of one instruction
    double (*mulRate)(), (*addRate)();
    bool runs;
  };
  const Instructions sets[] = {{"SSE2", 4, MulXmmRate, AddXmmRate, true},
                               {"AVX2", 8, MulYmmRate, AddYmmRate,
                                __builtin_cpu_supports("avx2") != 0},
                               {"AVX-512", 16, MulZmmRate, AddZmmRate, RunsAvx512Vnni()}};
  const double verticalFirst = static_cast<double>(srcW) * dstH * Taps(srcH, dstH) +
                               static_cast<double>(dstW) * dstH * Taps(srcW, dstW);
  const double horizontalFirst = static_cast<double>(dstW) * srcH * Taps(srcW, dstW) +
                                 static_cast<double>(dstW) * dstH * Taps(srcH, dstH);
  const double multiplyAdds = 4 * std::min(verticalFirst, horizontalFirst);
  char name[64];
  std::snprintf(name, sizeof name, "rgba %dx%d -> %dx%d", srcW, srcH, dstW, dstH);
  const double memory = MemorySeconds(4.0 * srcW * srcH, 4.0 * dstW * dstH, name, multiplyAdds);
  std::printf("memory rgba %dx%d->%dx%d|%.3f\n", srcW, srcH, dstW, dstH, 1e3 * memory);
  for (const Instructions &set : sets) {
    if (!set.runs) continue;
    const double mulRate = set.mulRate() * set.lanes, addRate = set.addRate() * set.lanes;
    std::fprintf(stderr, "floors: %s %.1f G float multiplies/s, %.1f G adds/s\n", set.kernel,
                 mulRate / 1e9, addRate / 1e9);
    std::printf("arithmetic %s rgba %dx%d->%dx%d|%.3f\n", set.kernel, srcW, srcH, dstW, dstH,
                1e3 * multiplyAdds / std::min(mulRate, addRate));
  }
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 5 || (argc == 6 && std::strcmp(argv[5], "rgba") != 0) || argc > 6) {
    std::fprintf(stderr, "usage: floors SRCW SRCH DSTW DSTH [rgba]\n");
    return 2;
  }
  const int srcW = std::atoi(argv[1]), srcH = std::atoi(argv[2]);
  const int dstW = std::atoi(argv[3]), dstH = std::atoi(argv[4]);
  if (argc == 6)
    RgbaFloors(srcW, srcH, dstW, dstH);
  else
    PluginFloors(srcW, srcH, dstW, dstH);
  return 0;
}
