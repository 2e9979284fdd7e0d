#include "resizer/ChromaResampler.h"

#include <algorithm>

#include "resizer/ChromaRows.h"

namespace quorlin_host {

namespace {

constexpr int kWeightBits = ChromaFilter::kWeightBits;

bool HorizontallySubsampled(ChromaFormat format) { return format != ChromaFormat::C444; }
bool VerticallySubsampled(ChromaFormat format) { return format == ChromaFormat::C420; }

}  // namespace

const ChromaFilter *ChromaResampler::Filter(bool up, int lumaLength, bool cosited) {
  for (const CachedFilter &cached : filters_)
    if (cached.up == up && cached.lumaLength == lumaLength && cached.cosited == cosited)
      return cached.filter.get();
  filters_.push_back({up, lumaLength, cosited,
                      std::make_unique<ChromaFilter>(
                          up ? ChromaFilter::Upsample(lumaLength, cosited)
                             : ChromaFilter::Downsample(lumaLength, cosited))});
  return filters_.back().filter.get();
}

ChromaResampler::Axes ChromaResampler::AxesFor(const Y4mFrame &in, ChromaSiting siting,
                                               ChromaFormat format) {
  // A stream needs at most two; frames of changing sizes start again, before either axis takes
  // a filter, so that the pair stays valid.
  if (filters_.size() > 4) filters_.clear();
  Axes axes;
  const bool inWide = HorizontallySubsampled(in.chroma), outWide = HorizontallySubsampled(format);
  // Going down, the samples are sited as the writer labels them: 4:2:2 left, 4:2:0 centred.
  if (inWide != outWide)
    axes.horizontal = Filter(inWide, in.width, inWide ? siting.left : format == ChromaFormat::C422);
  const bool inTall = VerticallySubsampled(in.chroma), outTall = VerticallySubsampled(format);
  if (inTall != outTall) axes.vertical = Filter(inTall, in.height, inTall ? siting.top : false);
  return axes;
}

template <class Out>
void ChromaResampler::ResamplePlane(const std::vector<uint8_t> &in, int width, int height,
                                    const Axes &axes, Out *out) {
  const int rowWidth = axes.horizontal ? axes.horizontal->OutLength() : width;
  rows_.resize(static_cast<size_t>(rowWidth) * height);
  for (int y = 0; y < height; ++y) {
    const uint8_t *source = &in[static_cast<size_t>(y) * width];
    int16_t *row = &rows_[static_cast<size_t>(y) * rowWidth];
    if (axes.horizontal)
      FilterRow(*axes.horizontal, source, row);
    else
      for (int x = 0; x < width; ++x) row[x] = static_cast<int16_t>(source[x] << kChromaFractionBits);
  }
  const int outHeight = axes.vertical ? axes.vertical->OutLength() : height;
  for (int y = 0; y < outHeight; ++y) {
    Out *target = out + static_cast<size_t>(y) * rowWidth;
    if (axes.vertical) {
      const ChromaFilter &filter = *axes.vertical;
      tapRows_.resize(filter.Taps());
      for (int t = 0; t < filter.Taps(); ++t)
        tapRows_[t] = &rows_[static_cast<size_t>(filter.First(y) + t) * rowWidth];
      FilterColumns(tapRows_.data(), filter.Weights(y), filter.Taps(), rowWidth, target);
      continue;
    }
    // A row kept as it is: the column filter's one tap of weight one.
    const int16_t *row = &rows_[static_cast<size_t>(y) * rowWidth];
    constexpr int16_t kOne = 1 << kWeightBits;
    FilterColumns(&row, &kOne, 1, rowWidth, target);
  }
}

void ChromaResampler::InterpolateTo444(const Y4mFrame &frame, ChromaSiting siting,
                                       std::vector<int16_t> &u, std::vector<int16_t> &v) {
  const Axes axes = AxesFor(frame, siting, ChromaFormat::C444);
  const size_t samples = static_cast<size_t>(frame.width) * frame.height;
  u.resize(samples);
  v.resize(samples);
  ResamplePlane(frame.u, frame.ChromaWidth(), frame.ChromaHeight(), axes, u.data());
  ResamplePlane(frame.v, frame.ChromaWidth(), frame.ChromaHeight(), axes, v.data());
}

void ChromaResampler::Convert(const Y4mFrame &in, ChromaSiting siting, ChromaFormat format,
                              Y4mFrame &out) {
  const Axes axes = AxesFor(in, siting, format);
  out.Resize(in.width, in.height, format);
  out.y = in.y;
  ResamplePlane(in.u, in.ChromaWidth(), in.ChromaHeight(), axes, out.u.data());
  ResamplePlane(in.v, in.ChromaWidth(), in.ChromaHeight(), axes, out.v.data());
}

}  // namespace quorlin_host
