#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "harness/EngineHost.h"
#include "common/FpuPrecision.h"
#include "common/LibraryHealth.h"
#include "common/mmutil.h"
#include "engine/FakeKernel.h"
#include "engine/FakeSetter.h"
#include "engine/TFilter.h"
#include "engine/TNormalWeightSetter.h"
#include "support/TestWindowFunctions.h"

namespace {

// The host side of one engine: frame buffers, records and a configurable thread service.
class EngineTest : public ::testing::Test {
 protected:
  static constexpr int32_t kMaxW = 320, kMaxH = 240;

  void SetUp() override {
    edit_.assign(kMaxW * kMaxH * 6, 0);
    temp_.assign(kMaxW * kMaxH * 6, 0);
  }

  TFilter &Engine(bool yuy2 = false, TWeightSetter *setter = new FakeSetter()) {
    engine_.reset(new TFilter(yuy2 ? -1 : 0, &target_));
    engine_->SetWeightSetter(setter);
    engine_->SetKernel(&kernel_.info);
    return *engine_;
  }

  // Runs one frame of w x h and returns the record as the engine left it.
  FILTER_PROC_INFO Process(int32_t w, int32_t h, int32_t maxW = kMaxW) {
    FILTER_PROC_INFO fpip =
        quorlin_host::EngineHost::Frame(edit_.data(), temp_.data(), w, h, maxW, kMaxH);
    EXPECT_EQ(host_.Process(*engine_, fpip), -1);
    return fpip;
  }

  FakeSetter &Setter() { return *const_cast<FakeSetter *>(static_cast<const FakeSetter *>(engine_->Setter())); }

  TargetSize target_{160, 120};
  FakeKernel kernel_;
  // Two worker indexes, called one after another unless a test says otherwise.
  quorlin_host::EngineHost host_{quorlin_host::ThreadService::Sequential, 2};
  std::vector<uint8_t> edit_, temp_;
  std::unique_ptr<TFilter> engine_;
};

TEST_F(EngineTest, FrameAtTargetSizeIsLeftExactlyAsItCame) {
  Engine();
  FILTER_PROC_INFO fpip = Process(160, 120);
  EXPECT_EQ(fpip.ycp_edit, edit_.data());
  EXPECT_EQ(fpip.ycp_temp, temp_.data());
  EXPECT_TRUE(kernel_.Calls().empty());
  EXPECT_TRUE(Setter().requests.empty());
}

TEST_F(EngineTest, WithoutSetterOrKernelFramesPassUnchanged) {
  Engine().SetWeightSetter(nullptr);
  FILTER_PROC_INFO fpip = Process(320, 240);
  EXPECT_EQ(fpip.w, 320);
  EXPECT_EQ(fpip.ycp_edit, edit_.data());

  Engine().SetKernel(nullptr);
  fpip = Process(320, 240);
  EXPECT_EQ(fpip.w, 320);
  EXPECT_TRUE(kernel_.Calls().empty());
}

TEST_F(EngineTest, WidthOnlyWorksInPlaceAndExchangesNothing) {
  Engine();
  FILTER_PROC_INFO fpip = Process(320, 120);
  EXPECT_EQ(fpip.ycp_edit, edit_.data());
  EXPECT_EQ(fpip.ycp_temp, temp_.data());
  EXPECT_EQ(fpip.w, 160);
  EXPECT_EQ(fpip.h, 120);
  auto calls = kernel_.Calls();
  ASSERT_EQ(calls.size(), 2u);
  for (const KernelCall &c : calls) {
    EXPECT_EQ(c.routine, Routine::H);
    EXPECT_EQ(c.dst, edit_.data());
    EXPECT_EQ(c.src, edit_.data());
    EXPECT_EQ(c.count, 2);
  }
  ASSERT_EQ(Setter().requests.size(), 1u);
  const BuildRequest &r = Setter().requests[0];
  EXPECT_TRUE(r.shrink);
  EXPECT_EQ(r.step, 48);
  EXPECT_EQ(r.horizontal, -1);
  EXPECT_EQ(engine_->Params().VWeights.Entries, nullptr);
}

TEST_F(EngineTest, HeightOnlyWritesScratchAndExchanges) {
  Engine();
  FILTER_PROC_INFO fpip = Process(160, 60);
  EXPECT_EQ(fpip.ycp_edit, temp_.data());
  EXPECT_EQ(fpip.ycp_temp, edit_.data());
  EXPECT_EQ(fpip.h, 120);
  for (const KernelCall &c : kernel_.Calls()) {
    EXPECT_EQ(c.routine, Routine::V);
    EXPECT_EQ(c.dst, temp_.data());
    EXPECT_EQ(c.src, edit_.data());
  }
  ASSERT_EQ(Setter().requests.size(), 1u);
  const BuildRequest &r = Setter().requests[0];
  EXPECT_FALSE(r.shrink);
  EXPECT_EQ(r.step, kMaxW * 6 * 2);  // LinePairStep
  EXPECT_EQ(r.horizontal, 0);
  EXPECT_EQ(engine_->Params().HWeights.Entries, nullptr);
}

TEST_F(EngineTest, BothAxesUseTheCombinedPassAndItsVerticalStep) {
  Engine();
  FILTER_PROC_INFO fpip = Process(200, 100);
  EXPECT_EQ(fpip.ycp_edit, temp_.data());
  EXPECT_EQ(fpip.w, 160);
  EXPECT_EQ(fpip.h, 120);
  for (const KernelCall &c : kernel_.Calls()) EXPECT_EQ(c.routine, Routine::HV);
  ASSERT_EQ(Setter().requests.size(), 2u);
  EXPECT_TRUE(Setter().requests[0].shrink);
  EXPECT_EQ(Setter().requests[0].horizontal, -1);
  EXPECT_FALSE(Setter().requests[1].shrink);
  EXPECT_EQ(Setter().requests[1].step, kernel_.info.CombinedVStep);
}

TEST_F(EngineTest, SeparateWeightKindSelectsTheSeparateRoutines) {
  Engine(false, new FakeSetter(kSeparateWeights));
  Process(320, 120);
  Process(160, 60);
  Process(200, 100);
  std::vector<Routine> seen;
  for (const KernelCall &c : kernel_.Calls())
    if (seen.empty() || seen.back() != c.routine) seen.push_back(c.routine);
  EXPECT_EQ(seen, (std::vector<Routine>{Routine::HSep, Routine::VSep, Routine::HVSep}));
}

TEST_F(EngineTest, UnknownWeightKindCallsNothingAndLeavesTheFrame) {
  Engine(false, new FakeSetter(7));
  FILTER_PROC_INFO fpip = Process(320, 240);
  EXPECT_EQ(fpip.w, 320);
  EXPECT_TRUE(kernel_.Calls().empty());
}

TEST_F(EngineTest, YUY2FramesTakeSeparateWeightTablesOnly) {
  Engine(true, new FakeSetter(kSharedWeights));
  EXPECT_EQ(Process(200, 100).w, 200);
  EXPECT_TRUE(kernel_.Calls().empty());
  EXPECT_TRUE(Setter().requests.empty());
}

TEST_F(EngineTest, RebuildsOncePerGeometryChange) {
  Engine();
  for (int i = 0; i < 3; ++i) Process(320, 240);
  EXPECT_EQ(Setter().requests.size(), 2u);
  EXPECT_EQ(kernel_.workSizeCalls, 1);

  target_ = {100, 50};  // only the target changes
  for (int i = 0; i < 3; ++i) Process(300, 240);
  EXPECT_EQ(Setter().requests.size(), 4u);
  EXPECT_EQ(kernel_.workSizeCalls, 2);

  Process(300, 240, kMaxW - 8);  // a new row length alone also rebuilds
  EXPECT_EQ(kernel_.workSizeCalls, 3);
  EXPECT_EQ(engine_->Params().LineSize, (kMaxW - 8) * 6);
}

TEST_F(EngineTest, NewSetterWithUnchangedGeometryRebuilds) {
  Engine();
  Process(320, 240);
  EXPECT_EQ(kernel_.workSizeCalls, 1);
  engine_->SetWeightSetter(new FakeSetter());
  ResizeParams zero{};
  EXPECT_EQ(std::memcmp(&engine_->Params(), &zero, sizeof zero), 0);
  Process(320, 240);
  EXPECT_EQ(kernel_.workSizeCalls, 2);
  EXPECT_EQ(Setter().requests.size(), 2u);
}

TEST_F(EngineTest, ThreadsBeyondTheSlotsDoNothing) {
  Engine();
  const int slots = static_cast<int>(engine_->ThreadSlots());
  ASSERT_GE(slots, 2);
  ASSERT_LE(slots, 64);
  host_.SetService(quorlin_host::ThreadService::Sequential, slots + 16);
  Process(320, 240);
  auto calls = kernel_.Calls();
  ASSERT_EQ(static_cast<int>(calls.size()), slots);
  for (int i = 0; i < slots; ++i) {
    EXPECT_EQ(calls[i].index, i);
    EXPECT_EQ(calls[i].count, slots);
  }
}

TEST_F(EngineTest, WithoutTheThreadServiceTheRoutineRunsOnceOnTheCaller) {
  host_.SetService(quorlin_host::ThreadService::None, 1);
  Engine();
  Process(320, 240);
  auto calls = kernel_.Calls();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0].index, 0);
  EXPECT_EQ(calls[0].count, 1);
  EXPECT_EQ(calls[0].params, &engine_->Params());
}

// Fresh threads per call, and the persistent workers the test host and the benchmark use.
TEST_F(EngineTest, RealWorkerThreadsEachGetTheirIndex) {
  for (quorlin_host::ThreadService service :
       {quorlin_host::ThreadService::Threads, quorlin_host::ThreadService::Pool}) {
    host_.SetService(service, 2);
    kernel_.ClearCalls();
    Engine();
    Process(320, 240);
    std::vector<int> seen(2, 0);
    for (const KernelCall &c : kernel_.Calls()) seen.at(c.index)++;
    EXPECT_EQ(seen, (std::vector<int>{1, 1})) << static_cast<int>(service);
  }
}

TEST_F(EngineTest, GeometryAndWorkAreasAreSetBeforeTheKernelIsAsked) {
  kernel_.work1Size = 1000;
  kernel_.work2Size = 24;
  Engine();
  Process(300, 200);
  const ResizeParams &seen = kernel_.paramsAtWorkSize;
  const ResizeParams &p = engine_->Params();
  // The kernel sizes its work areas for the geometry its routines then run with.
  for (int32_t ResizeParams::*field :
       {&ResizeParams::SrcWidth, &ResizeParams::SrcHeight, &ResizeParams::DstWidth,
        &ResizeParams::DstHeight, &ResizeParams::LineSize, &ResizeParams::HStep,
        &ResizeParams::LinePairStep, &ResizeParams::TilesX, &ResizeParams::TilesY,
        &ResizeParams::TileCount})
    EXPECT_EQ(seen.*field, p.*field);
  EXPECT_EQ(seen.TileCount, 24);  // 3 x 8 tiles of 64 x 16 over 160 x 120
  EXPECT_EQ(p.Work1Size, 1000);
  EXPECT_EQ(p.Work2Size, 24);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(p.Work1) % 128, 0u);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(p.Work2) % 128, 0u);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(p.ColumnTiles) % 16, 0u);
  // Every thread slot has its slice: the last byte of the last slice is writable.
  p.Work1[1000 * engine_->ThreadSlots() - 1] = 1;
  EXPECT_EQ(p.TileCounter, 0);
}

TEST_F(EngineTest, NoWorkAreaWhenTheKernelAsksForNone) {
  kernel_.work1Size = 0;
  kernel_.work2Size = -5;
  Engine();
  Process(300, 200);
  EXPECT_EQ(engine_->Params().Work1, nullptr);
  EXPECT_EQ(engine_->Params().Work2, nullptr);
}

TEST_F(EngineTest, ColumnTilesOfWidth64For130Columns) {
  target_ = {130, 100};
  Engine();
  Process(300, 200);
  const ResizeParams &p = engine_->Params();
  ASSERT_EQ(p.TilesX, 3);
  const TileRange &last = p.ColumnTiles[2];
  EXPECT_EQ(last.FirstEntry, &p.HWeights.Entries[128]);
  // Columns 128 and 129 read one source pair each, pairs 147 (of pixel 128 x 300 / 130 = 295)
  // and 148 (of pixel 297).
  EXPECT_EQ(last.FirstPos, 147 * 48);
  EXPECT_EQ(last.FirstUnit, 147);
  EXPECT_EQ(last.UnitCount, 2);
  // Row tiles use the combined vertical step.
  const TileRange &row = p.RowTiles[1];
  EXPECT_EQ(row.FirstEntry, &p.VWeights.Entries[16]);
  EXPECT_EQ(row.FirstUnit, row.FirstPos / kernel_.info.CombinedVStep);
}

TEST_F(EngineTest, YUY2ColumnTilesGoByPixelPairsAndCoverTheChromaReach) {
  Engine(true, new FakeSetter(kSeparateWeights, true));
  Process(300, 200);
  const ResizeParams &p = engine_->Params();
  EXPECT_EQ(p.HStep, 8);
  EXPECT_EQ(p.LineSize, kMaxW * 2);
  ASSERT_EQ(p.TilesX, 3);
  EXPECT_EQ(p.ColumnTiles[1].FirstEntry, &p.HWeights.Entries[3 * 32]);
  for (int32_t i = 0; i < p.TilesX; ++i) {
    // Every entry of the tile lies inside it; a chroma pair spans two source pixel pairs.
    const TileRange &tile = p.ColumnTiles[i];
    const int32_t lastGroup = i == p.TilesX - 1 ? 79 : 32 * (i + 1) - 1;
    for (int32_t e = 3 * (32 * i); e < 3 * (lastGroup + 1); ++e) {
      const WeightEntry &entry = p.HWeights.Entries[e];
      const int32_t pairs = PairCount(entry.Coeffs) * (e % 3 == 2 ? 2 : 1);
      EXPECT_GE(entry.Offset / 8, tile.FirstUnit) << "tile " << i << " entry " << e;
      EXPECT_LE(entry.Offset / 8 + pairs, tile.FirstUnit + tile.UnitCount) << "tile " << i;
    }
  }
}

// The table entries that output `position` of an axis reads: its own, or for a YUY2 column
// the three of its pixel pair (luma even, luma odd, chroma).
std::vector<int32_t> EntriesOf(int32_t position, bool yuy2Columns) {
  if (!yuy2Columns) return {position};
  const int32_t group = 3 * (position / 2);
  return {group, group + 1, group + 2};
}

// Each tile starts at the entry of its first output (YUY2 columns: of its first output's pixel
// pair), and its source range covers every unit that the entries of its outputs read.
void ExpectTilesCover(const TileRange *tiles, int32_t tileCount, int32_t block, int32_t dstLen,
                      const WeightTable &table, int32_t step, bool yuy2Columns) {
  ASSERT_EQ(tileCount, (dstLen + block - 1) / block);
  for (int32_t i = 0; i < tileCount; ++i) {
    const TileRange &tile = tiles[i];
    EXPECT_EQ(tile.FirstEntry, &table.Entries[EntriesOf(block * i, yuy2Columns)[0]]) << "tile " << i;
    for (int32_t pos = block * i; pos < std::min(block * (i + 1), dstLen); ++pos)
      for (int32_t e : EntriesOf(pos, yuy2Columns)) {
        const WeightEntry &entry = table.Entries[e];
        const int32_t units = PairCount(entry.Coeffs) * (yuy2Columns && e % 3 == 2 ? 2 : 1);
        EXPECT_GE(entry.Offset / step, tile.FirstUnit) << "tile " << i << ", output " << pos;
        EXPECT_LE(entry.Offset / step + units, tile.FirstUnit + tile.UnitCount)
            << "tile " << i << ", output " << pos;
      }
  }
}

// A kernel may declare any tile size of 1 or more: narrower than a YUY2 pixel pair, odd, or
// larger than the frame. Every pass then runs, and the combined pass's tiles cover their outputs.
TEST_F(EngineTest, EveryTileSizeWorksInBothModesAndEveryPass) {
  for (bool yuy2 : {false, true})
    for (uint32_t block : {1u, 2u, 3u, 1001u}) {
      SCOPED_TRACE(testing::Message() << (yuy2 ? "YUY2" : "YC48") << ", tiles of " << block);
      kernel_.info.BlockWidth = kernel_.info.BlockHeight = block;
      target_ = {130, 70};
      Engine(yuy2, new FakeSetter(yuy2 ? kSeparateWeights : kSharedWeights, yuy2));
      for (const std::pair<int32_t, int32_t> &source :
           {std::make_pair(300, 70), std::make_pair(130, 200), std::make_pair(300, 200)}) {
        kernel_.ClearCalls();
        EXPECT_EQ(Process(source.first, source.second).w, 130);
        EXPECT_EQ(kernel_.Calls().size(), static_cast<size_t>(host_.Threads()));
      }
      const ResizeParams &p = engine_->Params();
      ExpectTilesCover(p.ColumnTiles, p.TilesX, block, 130, p.HWeights, p.HStep, yuy2);
      ExpectTilesCover(p.RowTiles, p.TilesY, block, 70, p.VWeights, kernel_.info.CombinedVStep,
                       false);
    }
}

TEST_F(EngineTest, TargetsOutsideTheHostBuffersPassTheFrameThrough) {
  Engine();
  for (TargetSize bad : {TargetSize{0, 100}, TargetSize{100, -4}, TargetSize{kMaxW + 2, 100},
                         TargetSize{100, kMaxH + 1}}) {
    target_ = bad;
    FILTER_PROC_INFO fpip = Process(200, 100);
    EXPECT_EQ(fpip.w, 200);
    EXPECT_EQ(fpip.ycp_edit, edit_.data());
  }
  EXPECT_TRUE(kernel_.Calls().empty());
  EXPECT_TRUE(Setter().requests.empty());
}

TEST_F(EngineTest, OddYUY2WidthsPassTheFrameThrough) {
  Engine(true, new FakeSetter(kSeparateWeights, true));
  target_ = {161, 120};
  EXPECT_EQ(Process(200, 100).w, 200);
  target_ = {160, 120};
  EXPECT_EQ(Process(201, 100).w, 201);
  EXPECT_TRUE(kernel_.Calls().empty());
  EXPECT_EQ(Process(200, 100).w, 160);  // an even pair goes through
}

TEST_F(EngineTest, FailedRebuildLeavesNothingHalfBuiltAndRetries) {
  Engine();
  Setter().throwOnBuild = true;
  FILTER_PROC_INFO fpip = Process(320, 240);
  EXPECT_EQ(fpip.w, 320);
  EXPECT_EQ(fpip.ycp_edit, edit_.data());
  EXPECT_TRUE(kernel_.Calls().empty());
  ResizeParams zero{};
  EXPECT_EQ(std::memcmp(&engine_->Params(), &zero, sizeof zero), 0);

  Setter().throwOnBuild = false;
  EXPECT_EQ(Process(320, 240).w, 160);
}

TEST_F(EngineTest, ExhaustedMemoryForWorkAreasPassesTheFrameThrough) {
  kernel_.work1Size = 0x7FFFFFF0;
  Engine();
  FILTER_PROC_INFO fpip = Process(320, 240);
  EXPECT_EQ(fpip.w, 320);
  EXPECT_TRUE(kernel_.Calls().empty());
  EXPECT_EQ(engine_->Params().SrcWidth, 0);
}

TEST_F(EngineTest, TablesAreBuiltInDoublePrecisionAndTheCallersWordRestored) {
  Engine();
  const uint16_t before = X87DoublePrecision::ControlWord();
  const uint16_t single = static_cast<uint16_t>((before & 0xFCFF) | 0x0C00);  // 24-bit, round up
  asm volatile("fldcw %0" : : "m"(single));
  Process(200, 100);
  const uint16_t after = X87DoublePrecision::ControlWord();
  asm volatile("fldcw %0" : : "m"(before));
  ASSERT_EQ(Setter().requests.size(), 2u);
  for (const BuildRequest &r : Setter().requests)
    EXPECT_EQ(r.x87ControlWord, (single & 0xFCFF) | 0x0200);  // rounding bits kept
  EXPECT_EQ(after, single);
}

// A faulting kernel call drops the kernel at once: the frame goes back as the host gave it,
// every block of the failed build is released, and nothing of the kernel runs again.
TEST_F(EngineTest, AKernelFaultPassesTheFrameDropsTheKernelAndFreesEveryBlock) {
  for (bool yuy2 : {false, true}) {
    for (KernelFault fault : {KernelFault::WorkSize1, KernelFault::WorkSize2, KernelFault::Routine}) {
      for (int threads = 1; threads <= 8; ++threads) {
        SCOPED_TRACE(std::to_string(static_cast<int>(fault)) + (yuy2 ? " YUY2 " : " YC48 ") +
                     std::to_string(threads));
        host_.SetService(quorlin_host::ThreadService::Threads, threads);
        kernel_.fault = fault;
        kernel_.ClearCalls();
        const size_t blocks = AlignedBlocksInUse();
        Engine(yuy2, new FakeSetter(yuy2 ? kSeparateWeights : kSharedWeights, yuy2));
        // the last thread that runs a share: threads beyond the engine's slots run none
        kernel_.faultThread = std::min<int>(threads, engine_->ThreadSlots()) - 1;
        for (size_t i = 0; i < edit_.size(); ++i) edit_[i] = static_cast<uint8_t>(i * 7);
        const std::vector<uint8_t> input = edit_;
        const FILTER_PROC_INFO fpip = Process(320, 240);
        EXPECT_EQ(fpip.w, 320);
        EXPECT_EQ(fpip.h, 240);
        EXPECT_EQ(fpip.ycp_edit, edit_.data());
        EXPECT_TRUE(edit_ == input);
        EXPECT_EQ(engine_->Kernel(), nullptr);
        EXPECT_EQ(AlignedBlocksInUse(), blocks);
        EXPECT_TRUE(engine_->TakeDroppedNotice());
        EXPECT_FALSE(engine_->TakeDroppedNotice());
        const size_t callsAtFault = kernel_.Calls().size();
        EXPECT_EQ(Process(320, 240).w, 320);
        EXPECT_EQ(kernel_.Calls().size(), callsAtFault);
      }
    }
  }
  kernel_.fault = KernelFault::None;
}

// A window function whose Evaluate faults: its library goes out of use, the engine drops the
// setter without calling the library's Release, and the tables built so far are released.
TEST_F(EngineTest, ASetterFaultDropsTheSetterWithoutCallingItsLibraryAgain) {
  static int releases = 0;
  WindowFuncInfo faulty = TriangleRadius1();
  faulty.Evaluate = [](double, WindowFuncHandle) -> double {
    volatile int *volatile address = nullptr;
    return *address;
  };
  faulty.Release = [](WindowFuncHandle) { ++releases; };
  const HMODULE library = reinterpret_cast<HMODULE>(0x7FFE0000);  // a library of no real file
  RegisterRecordLibrary(&faulty, library);
  auto *setter = new TNormalWeightSetter();
  setter->SetWindowFunc(&faulty, 0);
  const size_t blocks = AlignedBlocksInUse();
  Engine(false, setter);
  const FILTER_PROC_INFO fpip = Process(320, 240);
  EXPECT_EQ(fpip.w, 320);
  EXPECT_EQ(engine_->Setter(), nullptr);
  EXPECT_TRUE(IsLibraryBroken(library));
  EXPECT_EQ(releases, 0);
  EXPECT_EQ(AlignedBlocksInUse(), blocks);
  EXPECT_TRUE(kernel_.Calls().empty());
}

}  // namespace
