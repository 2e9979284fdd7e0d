#include "rgba/AxisTaps.h"

#include <algorithm>

#include "common/mmutil.h"
#include "engine/TNearestNeighbor.h"
#include "contracts/WeightTable.h"

namespace rgba {
namespace {

// Position unit per source pixel pair handed to the setters: an entry's Offset is then the index of
// its first source sample.
constexpr int32_t kSamplesPerPair = 2;
constexpr float kUnity = 16384.0f;

// An engine weight table, released with its blocks.
struct EngineTable : WeightTable {
  EngineTable() : WeightTable{nullptr, nullptr} {}
  ~EngineTable() {
    AlignedFree(Pool);
    AlignedFree(Entries);
  }
};

void BuildEngineTable(TWeightSetter &setter, int32_t srcLen, int32_t dstLen, EngineTable &table) {
  if (dstLen < srcLen) {
    setter.SetShrinkWeights(&table, srcLen, dstLen, kSamplesPerPair, 0);
  } else if (dstLen > srcLen) {
    setter.SetEnlargeWeights(&table, srcLen, dstLen, kSamplesPerPair, 0);
  } else {
    TNearestNeighbor copy;
    copy.SetShrinkWeights(&table, srcLen, dstLen, kSamplesPerPair, 0);
  }
}

int32_t TapsOf(const WeightEntry &entry) { return 2 * PairCount(entry.Coeffs); }

}  // namespace

AxisTaps::AxisTaps(TWeightSetter &setter, int32_t srcLen, int32_t dstLen) : dstLen_(dstLen) {
  EngineTable table;
  BuildEngineTable(setter, srcLen, dstLen, table);
  for (int32_t i = 0; i < dstLen; ++i) tapCount_ = std::max(tapCount_, TapsOf(table.Entries[i]));
  first_.resize(dstLen);
  weights_.assign(static_cast<size_t>(dstLen) * tapCount_, 0.0f);
  for (int32_t i = 0; i < dstLen; ++i) {
    const WeightEntry &entry = table.Entries[i];
    first_[i] = entry.Offset;
    float *at = weights_.data() + static_cast<size_t>(i) * tapCount_;
    for (int32_t k = 0; k < TapsOf(entry); ++k) at[k] = entry.Coeffs[k] / kUnity;
  }
}

kernels::RgbaRowTaps AxisTaps::RowTaps() const {
  return kernels::RgbaRowTaps{first_.data(), weights_.data(), tapCount_, dstLen_};
}

}  // namespace rgba
