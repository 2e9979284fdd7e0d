// The AVX-512 RGBA kernel on any x86-64 processor, its intrinsics emulated
// (Avx512Emulation.h): each of its four functions against the portable kernel, bit for bit, over
// random rows, taps and sums. The engine's own tests check it on processors with AVX-512 only.
// Prints "N passed, N failed" and fails when any case differs.
#include "Avx512Emulation.h"
// The emulation comes before the operations that use it.
#include "avx512/RgbaOps.h"
#include "common/RgbaKernel.h"
#include "simd/RgbaFilters.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

namespace {

const kernels::RgbaKernel kEmulated =
    kernels::simd::RgbaFilters<kernels::simd::Avx512RgbaOps>::Kernel("AVX-512");
const kernels::RgbaKernel &kPortable = kernels::kPortableRgbaKernel;

std::mt19937 rng(20261208);
int passed = 0, failed = 0;

int32_t Below(int32_t n) { return static_cast<int32_t>(rng() % static_cast<uint32_t>(n)); }

// A weight as the taps hold them: a float, negative ones included.
float Weight() { return std::ldexp(static_cast<float>(Below(20001) - 6000), -14); }

// A premultiplied sample: colour times alpha, or half of one (a sum of two taps).
float Sample() { return static_cast<float>(Below(65026)) * (Below(2) ? 1.0f : 0.5f); }

template <class T>
void Expect(const std::vector<T> &portable, const std::vector<T> &emulated, const char *what,
            int round) {
  if (std::memcmp(portable.data(), emulated.data(), portable.size() * sizeof(T)) == 0) {
    ++passed;
  } else if (++failed <= 10) {
    std::printf("%s differs from the portable kernel in round %d\n", what, round);
  }
}

void CheckPremultiply(int32_t width, int round) {
  std::vector<uint8_t> pixels(4 * width);
  for (uint8_t &b : pixels) b = Below(4) ? Below(256) : 255 * Below(2);
  for (int32_t pixelFloats : {4, kernels::kRgbaGroupPixelFloats}) {
    std::vector<float> portable(pixelFloats * width, -1), emulated(portable);
    kPortable.PremultiplyRow(pixels.data(), width, nullptr, portable.data(), pixelFloats);
    kEmulated.PremultiplyRow(pixels.data(), width, nullptr, emulated.data(), pixelFloats);
    Expect(portable, emulated, "PremultiplyRow", round);
  }
}

// Sums with every kind of alpha: 0, tiny, negative, above 255, ordinary; colours from below 0 to
// above alpha x 255.
void CheckFinish(int32_t width, int round) {
  std::vector<float> sums(4 * width);
  for (int32_t x = 0; x < width; ++x) {
    const float alphas[] = {0.0f, Below(1000) * 1e-3f, Below(600) * 0.01f - 3.0f, 260.0f,
                            Below(256) + Below(1000) * 1e-3f};
    const float alpha = alphas[Below(5)];
    sums[4 * x + 3] = alpha;
    for (int c = 0; c < 3; ++c) sums[4 * x + c] = alpha * (Below(300) - 20) + Below(100) / 37.0f;
  }
  std::vector<uint8_t> portable(4 * width), emulated(4 * width);
  kPortable.FinishRow(sums.data(), width, nullptr, portable.data());
  kEmulated.FinishRow(sums.data(), width, nullptr, emulated.data());
  Expect(portable, emulated, "FinishRow", round);
}

void CheckFilter(int32_t width, int round) {
  const int32_t tapCount = 1 + Below(14), outputs = 1 + Below(40);
  std::vector<float> group(kernels::kRgbaGroupPixelFloats * (width + tapCount), 0.0f);
  for (int32_t i = 0; i < kernels::kRgbaGroupPixelFloats * width; ++i) group[i] = Sample();
  std::vector<int32_t> first(outputs);
  std::vector<float> weights(outputs * tapCount);
  for (int32_t &f : first) f = Below(width);
  for (float &w : weights) w = Weight();
  const kernels::RgbaRowTaps taps{first.data(), weights.data(), tapCount, outputs};
  std::vector<float> portable(kernels::kRgbaGroupRows * 4 * outputs), emulated(portable.size());
  float *portableRows[kernels::kRgbaGroupRows], *emulatedRows[kernels::kRgbaGroupRows];
  for (int32_t r = 0; r < kernels::kRgbaGroupRows; ++r) {
    portableRows[r] = portable.data() + 4 * outputs * r;
    emulatedRows[r] = emulated.data() + 4 * outputs * r;
  }
  kPortable.FilterRows(group.data(), taps, portableRows);
  kEmulated.FilterRows(group.data(), taps, emulatedRows);
  Expect(portable, emulated, "FilterRows", round);
}

// One output row, or two whose rows overlap or not, as plain rows or as neighbouring rows of a
// group.
void CheckCombine(int round) {
  const int32_t count = 1 + Below(12), offset = Below(count + 3), floats = 16 * (1 + Below(12));
  std::vector<std::vector<float>> rowData(offset + count, std::vector<float>(floats));
  std::vector<const float *> rows;
  for (std::vector<float> &row : rowData) {
    for (float &v : row) v = Sample();
    rows.push_back(row.data());
  }
  std::vector<float> weights(2 * count);
  for (float &w : weights) w = Weight();
  for (int32_t pixelFloats : {4, kernels::kRgbaGroupPixelFloats}) {
    const size_t rowFloats = static_cast<size_t>(floats / 4) * pixelFloats;
    const size_t next = pixelFloats == 4 ? rowFloats : 4;
    for (bool pair : {false, true}) {
      std::vector<float> portable(rowFloats + next, -1), emulated(portable);
      for (std::vector<float> *out : {&portable, &emulated}) {
        const kernels::RgbaRowSum sums[2] = {
            {weights.data(), 0, out->data()},
            pair ? kernels::RgbaRowSum{weights.data() + count, offset, out->data() + next}
                 : kernels::RgbaRowSum{nullptr, 0, nullptr}};
        const kernels::RgbaKernel &kernel = out == &portable ? kPortable : kEmulated;
        kernel.CombineRows(rows.data(), count, sums, floats, pixelFloats);
      }
      Expect(portable, emulated, "CombineRows", round);
    }
  }
}

}  // namespace

int main() {
  for (int round = 0; round < 300; ++round) {
    const int32_t width = 1 + Below(70);
    CheckPremultiply(width, round);
    CheckFinish(width, round);
    CheckFilter(width, round);
    CheckCombine(round);
  }
  std::printf("%d passed, %d failed\n", passed, failed);
  return failed == 0 ? 0 : 1;
}
