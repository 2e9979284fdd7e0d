// The RGBA resampling engine: 8-bit RGBA images with straight alpha, resampled premultiplied
// with the window functions of the linked-in table, NearestNeighbor or AreaAverage, optionally
// in linear light, on the instruction set the processor offers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rgba/ThreadPool.h"

namespace rgba {

// Instruction sets a caller may ask for; a set the processor lacks falls back to the best it has.
enum class Isa { Auto, Avx512, Avx2, Sse2, Portable };

// One resampling method as a method list shows it.
struct MethodInfo {
  std::string Name;        // "Spline36", ..., then "NearestNeighbor", "AreaAverage"
  std::string ParamLabel;  // empty: no parameter
  int32_t ParamMin, ParamMax, ParamDefault;
};
// The window functions of the linked-in window-function table, in its order, then
// NearestNeighbor and AreaAverage.
const std::vector<MethodInfo> &Methods();
int DefaultMethodIndex();  // Spline36

struct Image {  // 8-bit RGBA, straight alpha, rows top-down
  uint8_t *Pixels;
  int32_t Width, Height;
  int32_t Stride;  // bytes per row (>= 4 * Width)
};

struct ResizeOptions {
  int MethodIndex;    // into Methods()
  int32_t Param;      // 0: the method's default; outside its range: clamped
  bool LinearLight;   // decode sRGB through a table to >= 16 bits, resample, encode back
  rgba::Isa Isa;
};

// Resamples src (straight alpha) into dst (dst.Width/Height set by the caller, sizes >= 1,
// within kMaxSide and kMaxPixels): premultiply, filter, divide back, rounding once at the end;
// a fully transparent result pixel gets colour 0. Returns false (dst untouched) when memory
// runs out. Thread-safe: each call has its own buffers; shared caches sit behind a lock.
bool Resize(const Image &src, const Image &dst, const ResizeOptions &options, ThreadPool &pool);

// The instruction set Resize will actually run for a request (after fallback), for display.
Isa EffectiveIsa(Isa requested);

constexpr int32_t kMaxSide = 16384;  // a target side beyond this is clamped
constexpr int64_t kMaxPixels = int64_t{1} << 28;

}  // namespace rgba
