#include "rgba/KernelChoice.h"

#include "cpu/ProcessorFeatures.h"

namespace rgba {
namespace {

// SSE2 is not checked: every unit of the build is compiled for it, and x86-64 has it.
struct Support {
  bool Avx512, Avx512Faster, Avx2;
};

Support ThisProcessorSupport() {
  const ProcessorFeatureWords words = ThisProcessor();
  const bool avx512 = RunsAvx512Kernel(words);
  return Support{avx512, avx512 && !SplitsWideVectors(words), RunsAvx2(words)};
}

const Support &Processor() {
  static const Support support = ThisProcessorSupport();
  return support;
}

// The best set the processor runs, AVX-512 only where its 512-bit operations are whole.
Isa Best(const Support &support) {
  if (support.Avx512Faster) return Isa::Avx512;
  return support.Avx2 ? Isa::Avx2 : Isa::Sse2;
}

bool Runs(const Support &support, Isa isa) {
  switch (isa) {
    case Isa::Avx512:
      return support.Avx512;
    case Isa::Avx2:
      return support.Avx2;
    case Isa::Sse2:
    case Isa::Portable:
      return true;
    case Isa::Auto:
      return false;
  }
  return false;
}

}  // namespace

Isa EffectiveIsa(Isa requested) {
  const Support &support = Processor();
  return Runs(support, requested) ? requested : Best(support);
}

const kernels::RgbaKernel &KernelFor(Isa effective) {
  switch (effective) {
    case Isa::Avx512:
      return kernels::kAvx512RgbaKernel;
    case Isa::Avx2:
      return kernels::kAvx2RgbaKernel;
    case Isa::Sse2:
      return kernels::kSse2RgbaKernel;
    default:
      return kernels::kPortableRgbaKernel;
  }
}

}  // namespace rgba
