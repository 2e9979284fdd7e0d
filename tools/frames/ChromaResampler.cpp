#include "frames/ChromaResampler.h"

#include <algorithm>
#include <cstdint>

#include "frames/FastestRows.h"

namespace quorlin_resizer {

namespace {

constexpr int kWeightBits = ChromaFilter::kWeightBits;

// A load whose address agrees in its low 12 bits with a store still under way waits for that
// store on x86 processors ("4K aliasing"). The column pass stores an output row while it loads
// the window's rows just ahead, so an output row that the heap happened to put at such a
// distance from one of them made a whole 4:2:0 run take a tenth more processor time.
constexpr uintptr_t kAliasPeriod = 4096;
// How far behind the loads the stores under way reach, in bytes; a loop step stores 32.
constexpr uintptr_t kAliasReach = 128;
constexpr uintptr_t kCacheLine = 64;

// A row of `rowWidth` samples in `buffer`, on the first cache line whose distance from every
// row of `window`, modulo kAliasPeriod, is at least kAliasReach either way. Windows hold at most
// 12 rows, which rule out 12 x 2 x 128 of the 4096 bytes: a place is always found.
int16_t *RowApartFrom(const ChromaRowWindow &window, int rowWidth, std::vector<int16_t> &buffer) {
  buffer.resize(rowWidth + kAliasPeriod / sizeof(int16_t));
  const uintptr_t base = reinterpret_cast<uintptr_t>(buffer.data());
  for (uintptr_t offset = 0; offset < kAliasPeriod; offset += kCacheLine) {
    bool apart = true;
    for (int slot = 0; slot < window.Slots() && apart; ++slot) {
      const uintptr_t distance =
          (base + offset - reinterpret_cast<uintptr_t>(window.Slot(slot))) % kAliasPeriod;
      apart = distance >= kAliasReach && distance <= kAliasPeriod - kAliasReach;
    }
    if (apart) return buffer.data() + offset / sizeof(int16_t);
  }
  return buffer.data();
}

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

void ChromaResampler::Start(const Y4mFrame &frame, const Axes &axes) {
  const int held = axes.vertical ? axes.vertical->Taps() : 1;
  windows_[0].Start(frame.u.data(), frame.ChromaWidth(), axes.horizontal, held);
  windows_[1].Start(frame.v.data(), frame.ChromaWidth(), axes.horizontal, held);
}

template <class Out>
void ChromaResampler::ColumnRow(int plane, const Axes &axes, int y, Out *out) {
  ChromaRowWindow &window = windows_[plane];
  if (!axes.vertical) {
    // A row kept as it is: the column filter's one tap of weight one.
    const int16_t *row = window.Row(y);
    constexpr int16_t kOne = 1 << kWeightBits;
    FilterColumns(&row, &kOne, 1, window.RowWidth(), out);
    return;
  }
  const ChromaFilter &filter = *axes.vertical;
  tapRows_.resize(filter.Taps());
  for (int t = 0; t < filter.Taps(); ++t) tapRows_[t] = window.Row(filter.First(y) + t);
  FilterColumns(tapRows_.data(), filter.Weights(y), filter.Taps(), window.RowWidth(), out);
}

template <class Out>
void ChromaResampler::ResampleRows(const Y4mFrame &frame, ChromaSiting siting,
                                   ChromaFormat format, const ChromaRowSink<Out> &sink) {
  const Axes axes = AxesFor(frame, siting, format);
  Start(frame, axes);
  const int rowWidth = windows_[0].RowWidth();
  const int rows = axes.vertical ? axes.vertical->OutLength() : frame.ChromaHeight();
  // 16-bit storage holds either kind of sample.
  Out *u = reinterpret_cast<Out *>(RowApartFrom(windows_[0], rowWidth, uRow_));
  Out *v = reinterpret_cast<Out *>(RowApartFrom(windows_[1], rowWidth, vRow_));
  for (int y = 0; y < rows; ++y) {
    ColumnRow(0, axes, y, u);
    ColumnRow(1, axes, y, v);
    sink(y, u, v);
  }
}

template void ChromaResampler::ResampleRows(const Y4mFrame &, ChromaSiting, ChromaFormat,
                                            const ChromaRowSink<int16_t> &);
template void ChromaResampler::ResampleRows(const Y4mFrame &, ChromaSiting, ChromaFormat,
                                            const ChromaRowSink<uint8_t> &);

void ChromaResampler::Convert(const Y4mFrame &in, ChromaSiting siting, ChromaFormat format,
                              Y4mFrame &out) {
  out.Resize(in.width, in.height, format);
  out.y = in.y;
  const size_t rowWidth = out.ChromaWidth();
  ResampleRows<uint8_t>(in, siting, format, [&](int y, const uint8_t *u, const uint8_t *v) {
    std::copy(u, u + rowWidth, &out.u[y * rowWidth]);
    std::copy(v, v + rowWidth, &out.v[y * rowWidth]);
  });
}

}  // namespace quorlin_resizer
