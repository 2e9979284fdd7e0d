// The settings record the host stores inside each project (extra data of the plug-in table),
// and the per-function parameter memory kept beside it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/TFilter.h"

constexpr size_t kNameFieldSize = 32;

// 112 bytes, little-endian; its bytes are a stored format inside project files.
struct ResizeSettings {
  int32_t Width;                       // target width in pixels
  int32_t Height;                      // target height in pixels
  char LumaMode[kNameFieldSize];       // window function name, "NearestNeighbor" or "AreaAverage"
  char ChromaMode[kNameFieldSize];     // the same choices for chroma
  char SIMDMode[kNameFieldSize];       // kernel name; empty means the first kernel
  int32_t LumaParam;                   // parameter of the luma window function
  int32_t ChromaParam;                 // parameter of the chroma window function
};
static_assert(offsetof(ResizeSettings, Width) == 0, "ResizeSettings layout");
static_assert(offsetof(ResizeSettings, Height) == 4, "ResizeSettings layout");
static_assert(offsetof(ResizeSettings, LumaMode) == 8, "ResizeSettings layout");
static_assert(offsetof(ResizeSettings, ChromaMode) == 40, "ResizeSettings layout");
static_assert(offsetof(ResizeSettings, SIMDMode) == 72, "ResizeSettings layout");
static_assert(offsetof(ResizeSettings, LumaParam) == 104, "ResizeSettings layout");
static_assert(offsetof(ResizeSettings, ChromaParam) == 108, "ResizeSettings layout");
static_assert(sizeof(ResizeSettings) == 112, "ResizeSettings layout");

// The record's first two fields have TargetSize's layout, so the engine reads the live target
// size through this view.
static_assert(offsetof(TargetSize, Width) == offsetof(ResizeSettings, Width) &&
                  offsetof(TargetSize, Height) == offsetof(ResizeSettings, Height),
              "ResizeSettings starts with a TargetSize");
inline const TargetSize *TargetSizeOf(const ResizeSettings &settings) {
  return reinterpret_cast<const TargetSize *>(&settings);
}

// 512 x 384, "Spline36" for luma and chroma, no kernel name, parameters 0.
ResizeSettings DefaultResizeSettings();

// A name field's text: the bytes up to the first zero byte, or all 32 bytes.
std::string ReadNameField(const char (&field)[kNameFieldSize]);
// Clears the field and stores at most its first 32 bytes of `text`.
void StoreNameField(const std::string &text, char (&field)[kNameFieldSize]);

// The luma and chroma parameters last used with one window function.
struct FuncParamPair {
  int16_t Luma;
  int16_t Chroma;
};
static_assert(sizeof(FuncParamPair) == 4, "FuncParamPair layout");

// The low 16 bits of a stored parameter, read as signed.
inline int16_t Low16(int32_t value) { return static_cast<int16_t>(static_cast<uint16_t>(value)); }
