// zimg_bench: the baseline for quorlin_bench. Median milliseconds per frame of zimg resizing
// one frame with Spline36 on one thread (zimg runs a graph on the calling thread), and its
// fastest single frame, in the formats closest to Quorlin's: three 16-bit full-range planes
// (YC48) and 8-bit limited-range planar 4:2:2 (YUY2); and, the baseline of rgba_bench, four
// 8-bit planes (RGB and straight alpha, each resized as it is).
// Native program, built by scripts/bench.sh with the system's g++ against libzimg-dev.
//
//   zimg_bench SRCW SRCH DSTW DSTH [frames] [runs] [layout]   (layout: only that one)
#include <zimg.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

namespace {

// zimg wants every line 64-byte aligned.
struct Plane {
  std::unique_ptr<unsigned char, void (*)(void *)> bytes{nullptr, std::free};
  size_t size = 0;
  ptrdiff_t stride = 0;
};

struct Layout {
  const char *name;
  zimg_pixel_type_e pixel;
  int bytesPerSample;
  int chromaShiftW;  // 1 for 4:2:2
  zimg_pixel_range_e range;
  int planes;  // 3, or 4 with an alpha plane
};

struct Figures {
  double medianMs, fastestMs, cpuMs;  // cpuMs: median processor time a frame
};

double ProcessCpuMs() { return 1e3 * std::clock() / CLOCKS_PER_SEC; }

zimg_image_format Format(const Layout &layout, int width, int height) {
  zimg_image_format f;
  zimg_image_format_default(&f, ZIMG_API_VERSION);
  f.width = width;
  f.height = height;
  f.pixel_type = layout.pixel;
  f.subsample_w = layout.chromaShiftW;
  f.color_family = layout.planes == 4 ? ZIMG_COLOR_RGB : ZIMG_COLOR_YUV;
  if (layout.planes == 4) {
    f.matrix_coefficients = ZIMG_MATRIX_RGB;
    f.alpha = ZIMG_ALPHA_STRAIGHT;
  }
  f.depth = 8 * layout.bytesPerSample;
  f.pixel_range = layout.range;
  return f;
}

std::vector<Plane> Planes(const Layout &layout, int width, int height) {
  std::vector<Plane> planes(layout.planes);
  for (int p = 0; p < layout.planes; ++p) {
    const int w = p == 0 || p == 3 ? width : width >> layout.chromaShiftW;
    planes[p].stride = (w * layout.bytesPerSample + 63) / 64 * 64;
    planes[p].size = planes[p].stride * height;
    planes[p].bytes.reset(static_cast<unsigned char *>(std::aligned_alloc(64, planes[p].size)));
    unsigned char *bytes = planes[p].bytes.get();
    for (size_t i = 0; i < planes[p].size; ++i)
      bytes[i] = static_cast<unsigned char>((i * 37) ^ (i >> 7));
    if (layout.bytesPerSample == 2)  // keep 16-bit samples inside the 16-bit video range
      for (size_t i = 1; i < planes[p].size; i += 2) bytes[i] &= 0x3F;
  }
  return planes;
}

Figures MsPerFrame(const Layout &layout, zimg_cpu_type_e cpu, int srcW, int srcH, int dstW,
                   int dstH, int frames, int runs) {
  const zimg_image_format src = Format(layout, srcW, srcH);
  const zimg_image_format dst = Format(layout, dstW, dstH);
  zimg_graph_builder_params params;
  zimg_graph_builder_params_default(&params, ZIMG_API_VERSION);
  params.resample_filter = ZIMG_RESIZE_SPLINE36;
  params.resample_filter_uv = ZIMG_RESIZE_SPLINE36;
  params.cpu_type = cpu;
  zimg_filter_graph *graph = zimg_filter_graph_build(&src, &dst, &params);
  if (!graph) {
    char message[256];
    zimg_get_last_error(message, sizeof(message));
    std::fprintf(stderr, "zimg_bench: %s\n", message);
    std::exit(1);
  }
  size_t tmpSize = 0;
  zimg_filter_graph_get_tmp_size(graph, &tmpSize);
  std::unique_ptr<void, void (*)(void *)> tmp(std::aligned_alloc(64, (tmpSize + 63) / 64 * 64),
                                              std::free);
  std::vector<Plane> in = Planes(layout, srcW, srcH), out = Planes(layout, dstW, dstH);
  zimg_image_buffer_const inBuf = {ZIMG_API_VERSION};
  zimg_image_buffer outBuf = {ZIMG_API_VERSION};
  for (int p = 0; p < layout.planes; ++p) {
    inBuf.plane[p].data = in[p].bytes.get();
    inBuf.plane[p].stride = in[p].stride;
    inBuf.plane[p].mask = ZIMG_BUFFER_MAX;
    outBuf.plane[p].data = out[p].bytes.get();
    outBuf.plane[p].stride = out[p].stride;
    outBuf.plane[p].mask = ZIMG_BUFFER_MAX;
  }
  using Ms = std::chrono::duration<double, std::milli>;
  std::vector<double> times, cpuTimes;
  double fastest = 1e300;
  zimg_filter_graph_process(graph, &inBuf, &outBuf, tmp.get(), nullptr, nullptr, nullptr, nullptr);
  for (int r = 0; r < runs; ++r) {
    const auto runStart = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuMs();
    for (int f = 0; f < frames; ++f) {
      const auto start = std::chrono::steady_clock::now();
      zimg_filter_graph_process(graph, &inBuf, &outBuf, tmp.get(), nullptr, nullptr, nullptr,
                                nullptr);
      fastest = std::min(fastest, Ms(std::chrono::steady_clock::now() - start).count());
    }
    times.push_back(Ms(std::chrono::steady_clock::now() - runStart).count() / frames);
    cpuTimes.push_back((ProcessCpuMs() - cpuStart) / frames);
  }
  zimg_filter_graph_free(graph);
  std::sort(times.begin(), times.end());
  std::sort(cpuTimes.begin(), cpuTimes.end());
  return {times[times.size() / 2], fastest, cpuTimes[cpuTimes.size() / 2]};
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 5) {
    std::fprintf(stderr, "usage: zimg_bench SRCW SRCH DSTW DSTH [frames] [runs]\n");
    return 2;
  }
  const int srcW = std::atoi(argv[1]), srcH = std::atoi(argv[2]);
  const int dstW = std::atoi(argv[3]), dstH = std::atoi(argv[4]);
  const int frames = argc > 5 ? std::max(1, std::atoi(argv[5])) : 20;
  const int runs = argc > 6 ? std::max(1, std::atoi(argv[6])) : 5;
  const char *only = argc > 7 ? argv[7] : nullptr;
  const Layout layouts[] = {{"yuv444p16", ZIMG_PIXEL_WORD, 2, 0, ZIMG_RANGE_FULL, 3},
                            {"yuv422p8", ZIMG_PIXEL_BYTE, 1, 1, ZIMG_RANGE_LIMITED, 3},
                            {"rgba8", ZIMG_PIXEL_BYTE, 1, 0, ZIMG_RANGE_FULL, 4}};
  const struct {
    const char *name;
    zimg_cpu_type_e type;
  } cpus[] = {{"avx2", ZIMG_CPU_X86_AVX2}, {"auto", ZIMG_CPU_AUTO_64B}};
  for (const Layout &layout : layouts) {
    if (only ? std::strcmp(only, layout.name) != 0 : layout.planes == 4) continue;
    for (const auto &cpu : cpus) {
      const Figures figures = MsPerFrame(layout, cpu.type, srcW, srcH, dstW, dstH, frames, runs);
      std::printf("zimg-%s %s %dx%d -> %dx%d: %.3f ms, fastest frame %.3f ms, cpu %.3f ms\n",
                  cpu.name, layout.name, srcW, srcH, dstW, dstH, figures.medianMs,
                  figures.fastestMs, figures.cpuMs);
    }
  }
  return 0;
}
