// quality_photo: how close YUY2 resizes of photographs come to the exact result. For every
// 8-bit 4:2:2 Y4M picture given (the first frame), every kernel library of the DLL folder and
// two shrinking and two enlarging geometries on both axes, prints the interior PSNR of luma
// and chroma against the double-precision resampler, beside that of the exact result rounded
// to 8 bits, with Spline36 for luma and chroma.
//
//   quality_photo PICTURE.y4m ...
#include <cmath>
#include <cstdio>
#include <fstream>
#include <string>

#include "video-io/Y4mReader.h"
#include "engine/TFilterPluginList.h"
#include "quality/Yuy2Quality.h"

namespace {

quality::Yuy2Picture ReadPicture(const char *path) {
  std::ifstream in(path, std::ios::binary);
  quorlin_resizer::Y4mReader reader(in);
  quorlin_resizer::Y4mFrame frame;
  if (reader.Header().chroma != quorlin_resizer::ChromaFormat::C422 ||
      reader.Header().width % 2 != 0 || !reader.ReadFrame(frame))
    throw quorlin_resizer::Y4mError(std::string(path) +
                                    ": a 4:2:2 Y4M frame of even width is needed");
  return {frame.width, frame.height, frame.y, frame.u, frame.v};
}

int32_t Even(double v) { return 2 * int32_t(std::lround(v / 2)); }

}  // namespace

int main(int argc, char **argv) {
  TWndFuncPluginList functions;
  functions.LoadPlugins(QUORLIN_DIST_DLL);
  TFilterPluginList kernels;
  kernels.LoadPlugins(QUORLIN_DIST_DLL, -1);
  const int32_t spline = functions.IndexOfName("Spline36");
  if (spline < 0 || kernels.Count() == 0) {
    std::fprintf(stderr, "quality_photo: Spline36 or the kernels are missing in %s\n",
                 QUORLIN_DIST_DLL);
    return 1;
  }
  const quality::Kernel1D exact{"Spline36", quality::Spline36, 3};
  std::printf("%-14s %-20s %-7s %23s %23s\n", "picture", "geometry", "kernel",
              "luma dB (8-bit, gap)", "chroma dB (8-bit, gap)");
  for (int i = 1; i < argc; ++i) {
    const quality::Yuy2Picture picture = ReadPicture(argv[i]);
    const std::string name = std::string(argv[i]).substr(std::string(argv[i]).find_last_of("/\\") + 1);
    for (double factor : {2.0 / 3, 0.45, 1.5, 2.0}) {
      const int32_t dw = Even(picture.width * factor), dh = int32_t(std::lround(picture.height * factor));
      for (int32_t k = 0; k < kernels.Count(); ++k) {
        const quality::Yuy2Psnr psnr = quality::MeasureYuy2Resize(
            picture, dw, dh, *kernels.Item(k), *functions.Item(spline), exact);
        const std::string geometry = std::to_string(picture.width) + "x" +
                                     std::to_string(picture.height) + " -> " + std::to_string(dw) +
                                     "x" + std::to_string(dh);
        std::printf("%-14s %-20s %-7s %7.2f (%6.2f, %5.2f) %7.2f (%6.2f, %5.2f)\n", name.c_str(),
                    geometry.c_str(), kernels.Item(k)->Name, psnr.luma, psnr.lumaCeiling,
                    psnr.lumaCeiling - psnr.luma, psnr.chroma, psnr.chromaCeiling,
                    psnr.chromaCeiling - psnr.chroma);
        std::fflush(stdout);
      }
    }
  }
  return 0;
}
