// Properties every table must have, checked over many seeded random geometries.
#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "BuiltTable.h"
#include "engine/TAreaAverage.h"
#include "engine/TIndependentWeightSetter.h"
#include "engine/TNearestNeighbor.h"
#include "engine/TNormalWeightSetter.h"
#include "engine/TYUY2WeightSetter.h"
#include "support/TestWindowFunctions.h"

namespace {

constexpr int32_t kTrials = 150;
constexpr int32_t kStep = 48;

struct Geometry {
  int32_t SrcLen;
  int32_t DstLen;
  BuiltTable::Operation Operation;
};

class GeometrySource {
 public:
  explicit GeometrySource(uint32_t seed) : random_(seed) {}

  // Two different lengths of 1 .. 160 (source lengths even when `evenSource`).
  Geometry Next(bool evenSource = false) {
    std::uniform_int_distribution<int32_t> length(1, 160);
    Geometry g{};
    do {
      g.SrcLen = evenSource ? 2 * ((length(random_) + 1) / 2) : length(random_);
      g.DstLen = length(random_);
    } while (g.SrcLen == g.DstLen);
    g.Operation = g.DstLen < g.SrcLen ? BuiltTable::Shrink : BuiltTable::Enlarge;
    return g;
  }

 private:
  std::mt19937 random_;
};

int32_t TapCount(const Geometry &g, int32_t radius) {
  return g.Operation == BuiltTable::Enlarge ? 2 * radius
                                            : (2 * radius * g.SrcLen + g.DstLen - 1) / g.DstLen;
}

int32_t EvenUp(int32_t v) { return (v + 1) & ~1; }

std::string Describe(const Geometry &g) {
  return std::to_string(g.SrcLen) + " -> " + std::to_string(g.DstLen);
}

// Checks the entries `entries` (indices into the table) as one run of blocks over a source of
// `samples` samples, where an Offset of one step stands for `samplesPerStep` samples:
// PairCount at least 1, Offset never decreasing, blocks covering no position past the one
// padding position after the end, and blocks inside the pool's first `poolBytes` bytes.
// `reservedBytes` precede every block.
void ExpectWellFormedRun(const BuiltTable &built, const std::vector<int32_t> &entries,
                         int32_t samples, int32_t samplesPerStep, int32_t pairCoeffs,
                         int32_t reservedBytes, uint32_t poolBytes, const std::string &where) {
  const uint8_t *pool = static_cast<const uint8_t *>(built.Table().Pool);
  int32_t previousOffset = 0;
  for (int32_t n : entries) {
    const WeightEntry &e = built.Entry(n);
    const int32_t pairs = PairCount(e.Coeffs);
    ASSERT_GE(pairs, 1) << where << " entry " << n;
    EXPECT_GE(e.Offset, previousOffset) << where << " entry " << n;
    previousOffset = e.Offset;
    EXPECT_EQ(e.Offset % kStep, 0) << where;
    EXPECT_LE(samplesPerStep * (e.Offset / kStep) + 2 * pairs, EvenUp(samples))
        << where << " entry " << n;
    const uint8_t *start = reinterpret_cast<const uint8_t *>(e.Coeffs) - 4 - reservedBytes;
    const uint8_t *end = reinterpret_cast<const uint8_t *>(e.Coeffs + pairs * pairCoeffs);
    EXPECT_GE(start, pool) << where;
    EXPECT_LE(end, pool + poolBytes) << where << " entry " << n;
  }
}

// Every coefficient set (`sets` per pair, each two coefficients) of the listed entries sums
// to exactly 16384.
void ExpectUnitSums(const BuiltTable &built, const std::vector<int32_t> &entries, int32_t sets,
                    const std::string &where) {
  for (int32_t n : entries) {
    const EntryValues v = built.Values(n, 2 * sets);
    for (int32_t set = 0; set < sets; ++set) {
      int32_t sum = 0;
      for (size_t c = 2 * set; c < v.Coeffs.size(); c += 2 * sets) sum += v.Coeffs[c] + v.Coeffs[c + 1];
      EXPECT_EQ(sum, 16384) << where << " entry " << n << " set " << set;
    }
  }
}

// Identical blocks are stored once: equal contents always mean the same address.
void ExpectIdenticalBlocksShared(const BuiltTable &built, int32_t pairCoeffs,
                                 const std::string &where) {
  std::map<std::vector<int16_t>, const int16_t *> stored;
  for (int32_t n = 0; n < built.EntryCount(); ++n) {
    const auto inserted = stored.emplace(built.Values(n, pairCoeffs).Coeffs, built.Entry(n).Coeffs);
    EXPECT_EQ(inserted.first->second, built.Entry(n).Coeffs) << where << " entry " << n;
  }
}

std::vector<int32_t> Range(int32_t count) {
  std::vector<int32_t> all(count);
  for (int32_t n = 0; n < count; ++n) all[n] = n;
  return all;
}

const WindowFuncInfo *const kFunctions[] = {&TriangleRadius1(), &TriangleRadius2(),
                                            &TriangleRadius3()};

TEST(TableProperties, NormalSetterTables) {
  GeometrySource geometries(1);
  for (const WindowFuncInfo *function : kFunctions) {
    TNormalWeightSetter setter;
    setter.SetWindowFunc(function, 0);
    for (int32_t trial = 0; trial < kTrials; ++trial) {
      const Geometry g = geometries.Next();
      const std::string where = std::string(function->Name) + " " + Describe(g);
      BuiltTable built(setter, g.Operation, g.SrcLen, g.DstLen, kStep);
      const int32_t n = TapCount(g, setter.Radius());
      const uint32_t poolBytes = g.DstLen * (8 + 4 * ((n / 2 + 2) & ~1));
      ExpectWellFormedRun(built, Range(g.DstLen), g.SrcLen, 2, 2, 0, poolBytes, where);
      ExpectUnitSums(built, Range(g.DstLen), 1, where);
      ExpectIdenticalBlocksShared(built, 2, where);
    }
  }
}

TEST(TableProperties, IndependentSetterTables) {
  GeometrySource geometries(2);
  for (const WindowFuncInfo *luma : kFunctions) {
    for (const WindowFuncInfo *chroma : kFunctions) {
      TIndependentWeightSetter setter;
      setter.SetWindowFuncs(luma, chroma, 0, 0);
      for (int32_t trial = 0; trial < kTrials / 3; ++trial) {
        const Geometry g = geometries.Next();
        const std::string where = std::string(luma->Name) + "/" + chroma->Name + " " + Describe(g);
        BuiltTable built(setter, g.Operation, g.SrcLen, g.DstLen, kStep);
        const int32_t n = TapCount(g, setter.Radius());
        const uint32_t poolBytes = g.DstLen * (8 + 8 * (n / 2 + 1));
        ExpectWellFormedRun(built, Range(g.DstLen), g.SrcLen, 2, 4, 4, poolBytes, where);
        ExpectUnitSums(built, Range(g.DstLen), 2, where);
        ExpectIdenticalBlocksShared(built, 4, where);
      }
    }
  }
}

uint32_t YUY2PoolBytes(const Geometry &g, int32_t lumaRadius, int32_t chromaRadius) {
  const uint32_t d = g.DstLen;
  if (g.Operation == BuiltTable::Shrink) {
    return d / 2 * (8 + 4 * EvenUp(TapCount(g, chromaRadius) / 2 + 1)) +
           d * (8 + 4 * EvenUp(TapCount(g, lumaRadius) / 2 + 1));
  }
  return d * (8 + 4 * EvenUp(lumaRadius + 1)) + d * (8 + 4 * EvenUp((chromaRadius + 1) / 2 + 1));
}

TEST(TableProperties, YUY2HorizontalTables) {
  GeometrySource geometries(3);
  const int32_t radius[] = {1, 2, 3};
  for (int32_t l = 0; l < 3; ++l) {
    for (int32_t c = 0; c < 3; ++c) {
      TYUY2WeightSetter setter;
      setter.SetWindowFuncs(kFunctions[l], kFunctions[c], 0, 0);
      for (int32_t trial = 0; trial < kTrials / 3; ++trial) {
        const Geometry g = geometries.Next(true);
        const std::string where = std::string(kFunctions[l]->Name) + "/" + kFunctions[c]->Name +
                                  " " + Describe(g);
        const int32_t entryCount = 3 * g.DstLen / 2;
        BuiltTable built(setter, g.Operation, g.SrcLen, g.DstLen, kStep, -1, entryCount);
        std::vector<int32_t> lumaEntries, chromaEntries;
        for (int32_t n = 0; n < entryCount; ++n) (n % 3 == 2 ? chromaEntries : lumaEntries).push_back(n);
        const uint32_t poolBytes = YUY2PoolBytes(g, radius[l], radius[c]);
        ExpectWellFormedRun(built, lumaEntries, g.SrcLen, 2, 2, 4, poolBytes, where + " luma");
        // A chroma Offset step is one chroma sample (one source pixel pair).
        ExpectWellFormedRun(built, chromaEntries, g.SrcLen / 2, 1, 2, 4, poolBytes,
                            where + " chroma");
        ExpectUnitSums(built, Range(entryCount), 1, where);
        ExpectIdenticalBlocksShared(built, 2, where);
      }
    }
  }
}

TEST(TableProperties, AreaAverageShrinkTables) {
  GeometrySource geometries(4);
  TAreaAverage setter;
  for (int32_t trial = 0; trial < kTrials; ++trial) {
    Geometry g = geometries.Next();
    if (g.Operation != BuiltTable::Shrink) std::swap(g.SrcLen, g.DstLen);
    const std::string where = Describe(g);
    BuiltTable built(setter, BuiltTable::Shrink, g.SrcLen, g.DstLen, kStep);
    const int32_t cells = (g.SrcLen + g.DstLen - 1) / g.DstLen;
    const uint32_t poolBytes = g.DstLen * (8 + 4 * ((cells + 2) / 2 + 1));
    ExpectWellFormedRun(built, Range(g.DstLen), g.SrcLen, 2, 2, 0, poolBytes, where);
    ExpectIdenticalBlocksShared(built, 2, where);
    for (int32_t n = 0; n < g.DstLen; ++n) {
      const EntryValues v = built.Values(n);
      int32_t sum = 0;
      for (int16_t c : v.Coeffs) sum += c;
      // Each covered sample loses less than one unit to truncation.
      EXPECT_LE(sum, 16384) << where;
      EXPECT_GT(sum, 16384 - static_cast<int32_t>(v.Coeffs.size())) << where;
    }
  }
}

TEST(TableProperties, EvaluateIsCalledOncePerTapInOrder) {
  GeometrySource geometries(6);
  TNormalWeightSetter normal;
  normal.SetWindowFunc(&RecordingTriangle(), 0);
  TIndependentWeightSetter independent;
  independent.SetWindowFuncs(&RecordingTriangle(), &RecordingTriangle(), 0, 0);
  TYUY2WeightSetter yuy2;
  yuy2.SetWindowFuncs(&RecordingTriangle(), &RecordingTriangle(), 0, 0);
  const auto &calls = WindowLog().Evaluations;
  for (int32_t trial = 0; trial < kTrials; ++trial) {
    const Geometry g = geometries.Next(true);
    const int32_t n = TapCount(g, 1);
    const std::string where = Describe(g);
    ResetWindowLogCalls();
    { BuiltTable built(normal, g.Operation, g.SrcLen, g.DstLen, kStep); }
    ASSERT_EQ(calls.size(), static_cast<size_t>(g.DstLen) * n) << where;
    // Within an output's run the distance grows by one source sample (enlarging) or by
    // D / S output samples (shrinking).
    for (size_t k = 0; k < calls.size(); ++k) {
      if (k % n == 0) continue;
      const double growth = g.Operation == BuiltTable::Enlarge ? 1.0 : double(g.DstLen) / g.SrcLen;
      EXPECT_NEAR(calls[k].T - calls[k - 1].T, growth, 1e-9) << where;
    }
    ResetWindowLogCalls();
    { BuiltTable built(independent, g.Operation, g.SrcLen, g.DstLen, kStep); }
    EXPECT_EQ(calls.size(), 2u * g.DstLen * n) << where;
    ResetWindowLogCalls();
    { BuiltTable built(yuy2, g.Operation, g.SrcLen, g.DstLen, kStep, -1, 3 * g.DstLen / 2); }
    const size_t chromaRuns = g.Operation == BuiltTable::Shrink ? 2 : 1;
    EXPECT_EQ(calls.size(), static_cast<size_t>(g.DstLen) * n + g.DstLen / 2 * chromaRuns * n)
        << where;
  }
}

}  // namespace
