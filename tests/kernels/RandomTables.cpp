#include "kernels/RandomTables.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "common/mmutil.h"

namespace {

struct Block {
  int32_t offsetUnits;  // Offset / step
  int32_t pairCount;
  std::vector<int16_t> coeffs;
};

int16_t RandomCoeff(std::mt19937 &rng, CoeffRange range) {
  if (range == CoeffRange::Full) return static_cast<int16_t>(rng());
  return static_cast<int16_t>(std::uniform_int_distribution<int>(-2000, 6000)(rng));
}

// Blocks for `count` outputs along an axis of srcLen samples. A block starting at sample
// position p has Offset p / 2 x unitsPerPair (x step).
std::vector<Block> RandomBlocks(std::mt19937 &rng, int32_t srcLen, int32_t count,
                                int pairCoeffs, int32_t unitsPerPair, CoeffRange range) {
  const int32_t maxTaps = 2 * ((srcLen + count - 1) / count) + 4;
  std::vector<Block> blocks;
  int32_t prevFirst = 0, prevLast = 0;
  for (int32_t i = 0; i < count; ++i) {
    const int32_t taps = 1 + static_cast<int32_t>(rng() % maxTaps);
    const int32_t centre = static_cast<int32_t>((2ll * i + 1) * srcLen / (2ll * count));
    const int32_t jitter = static_cast<int32_t>(rng() % 3) - 1;
    const int32_t first = std::max(std::clamp(centre - taps / 2 + jitter, 0, srcLen - 1), prevFirst);
    const int32_t last = std::max(std::min(first + taps - 1, srcLen - 1), prevLast);
    prevFirst = first;
    prevLast = last;

    Block block;
    const int32_t start = first - first % 2;
    block.offsetUnits = start / 2 * unitsPerPair;
    block.pairCount = (last - start) / 2 + 1;
    for (int32_t j = 0; j < block.pairCount; ++j)
      for (int c = 0; c < pairCoeffs; ++c) {
        const bool padding = start + 2 * j + c % 2 >= srcLen;
        block.coeffs.push_back(padding ? 0 : RandomCoeff(rng, range));
      }
    blocks.push_back(std::move(block));
  }
  return blocks;
}

// Packs the blocks, in entry order, into a pool of (PairCount, coefficients) records.
void Pack(const std::vector<Block> &blocks, int32_t step, WeightTable *table) {
  size_t poolBytes = 0;
  for (const Block &b : blocks) poolBytes += 4 + 2 * b.coeffs.size();
  auto *pool = static_cast<uint8_t *>(AlignedAlloc(poolBytes, 8));
  auto *entries = static_cast<WeightEntry *>(AlignedAlloc(blocks.size() * sizeof(WeightEntry), 8));
  uint8_t *cursor = pool;
  for (size_t i = 0; i < blocks.size(); ++i) {
    std::memcpy(cursor, &blocks[i].pairCount, 4);
    std::memcpy(cursor + 4, blocks[i].coeffs.data(), 2 * blocks[i].coeffs.size());
    entries[i].Offset = blocks[i].offsetUnits * step;
    entries[i].Coeffs = reinterpret_cast<int16_t *>(cursor + 4);
    cursor += 4 + 2 * blocks[i].coeffs.size();
  }
  table->Pool = pool;
  table->Entries = entries;
}

}  // namespace

void BuildRandomAxisTable(std::mt19937 &rng, WeightTable *table, int32_t srcLen, int32_t dstLen,
                          int32_t step, int pairCoeffs, CoeffRange range) {
  Pack(RandomBlocks(rng, srcLen, dstLen, pairCoeffs, 1, range), step, table);
}

void BuildRandomYUY2HorizontalTable(std::mt19937 &rng, WeightTable *table, int32_t srcWidth,
                                    int32_t dstWidth, int32_t step, CoeffRange range) {
  const std::vector<Block> luma = RandomBlocks(rng, srcWidth, dstWidth, 2, 1, range);
  const std::vector<Block> chroma = RandomBlocks(rng, srcWidth / 2, dstWidth / 2, 2, 2, range);
  std::vector<Block> entries;
  for (int32_t x = 0; x < dstWidth; ++x) {
    entries.push_back(luma[x]);
    if (x % 2 == 1) entries.push_back(chroma[x / 2]);
  }
  Pack(entries, step, table);
}
