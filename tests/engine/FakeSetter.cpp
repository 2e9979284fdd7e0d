#include "engine/FakeSetter.h"

#include <stdexcept>

#include "common/FpuPrecision.h"
#include "common/mmutil.h"

void FakeSetter::SetShrinkWeights(WeightTable *table, int32_t srcLen, int32_t dstLen, int32_t step,
                                  int32_t horizontal) {
  Build(true, table, srcLen, dstLen, step, horizontal);
}

void FakeSetter::SetEnlargeWeights(WeightTable *table, int32_t srcLen, int32_t dstLen,
                                   int32_t step, int32_t horizontal) {
  Build(false, table, srcLen, dstLen, step, horizontal);
}

// Every output gets a one-pair block at its nearest source pair; YUY2 horizontal tables get
// a chroma entry of two pairs after each odd column.
void FakeSetter::Build(bool shrink, WeightTable *table, int32_t srcLen, int32_t dstLen,
                       int32_t step, int32_t horizontal) {
  requests.push_back({shrink, srcLen, dstLen, step, horizontal, X87DoublePrecision::ControlWord()});
  if (throwOnBuild) throw std::runtime_error("build failed");
  const bool grouped = yuy2Horizontal_ && horizontal != 0;
  const int32_t entries = grouped ? dstLen * 3 / 2 : dstLen;
  auto *pool = static_cast<int32_t *>(AlignedAlloc(32, 8));
  pool[0] = 1;             // luma-like block: one pair
  pool[1] = 16384;
  pool[2] = 2;             // chroma-like block: two pairs
  pool[3] = 16384;
  pool[4] = 0;
  table->Pool = pool;
  table->Entries = static_cast<WeightEntry *>(AlignedAlloc(entries * sizeof(WeightEntry), 8));
  int32_t e = 0;
  for (int32_t i = 0; i < dstLen; ++i) {
    const int32_t s = static_cast<int32_t>(static_cast<int64_t>(i) * srcLen / dstLen);
    table->Entries[e++] = {s / 2 * step, reinterpret_cast<int16_t *>(pool + 1)};
    if (grouped && i % 2 == 1)
      table->Entries[e++] = {s / 4 * 2 * step, reinterpret_cast<int16_t *>(pool + 3)};
  }
}
