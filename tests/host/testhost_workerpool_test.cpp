// The worker threads behind exec_multi_thread_func, and the guarded frame images.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <set>
#include <vector>

#include "FrameBuffer.h"
#include "WorkerPool.h"

using namespace quorlin_host;

namespace {

struct Calls {
  std::vector<std::atomic<int>> perIndex;
  std::atomic<int> wrongCount{0};
  std::atomic<int> wrongParam{0};
  int expectedCount = 0;
  explicit Calls(int count) : perIndex(count), expectedCount(count) {}
};

void __cdecl CountCall(int thread_id, int thread_num, void *param1, void *param2) {
  auto *calls = static_cast<Calls *>(param1);
  if (thread_num != calls->expectedCount) ++calls->wrongCount;
  if (param2 != &calls->expectedCount) ++calls->wrongParam;
  ++calls->perIndex.at(thread_id);
}

struct ThreadIds {
  DWORD ids[8] = {};
};

void __cdecl RecordThread(int thread_id, int, void *param1, void *) {
  static_cast<ThreadIds *>(param1)->ids[thread_id] = GetCurrentThreadId();
}

void __cdecl SlowThenMark(int thread_id, int, void *param1, void *) {
  Sleep(20 * (thread_id + 1));
  static_cast<std::atomic<int> *>(param1)[thread_id] = 1;
}

}  // namespace

TEST(WorkerPool, EveryIndexRunsExactlyOncePerCall) {
  for (int threads : {1, 2, 5}) {
    WorkerPool pool(threads);
    ASSERT_EQ(pool.ThreadCount(), threads);
    Calls calls(threads);
    constexpr int kRuns = 200;
    for (int run = 0; run < kRuns; ++run) pool.Run(&CountCall, &calls, &calls.expectedCount);
    for (int i = 0; i < threads; ++i) EXPECT_EQ(calls.perIndex[i], kRuns) << threads << "/" << i;
    EXPECT_EQ(calls.wrongCount, 0);
    EXPECT_EQ(calls.wrongParam, 0);
  }
}

// Calls in quick succession find the workers still spinning; calls after a pause find them
// asleep. Both must run every index once, with more workers than processors too.
TEST(WorkerPool, CallsAfterAPauseWakeSleepingWorkers) {
  for (int threads : {1, 2, 2 * WorkerPool::LogicalProcessorCount() + 1}) {
    WorkerPool pool(threads);
    Calls calls(threads);
    constexpr int kRuns = 4;
    for (int run = 0; run < kRuns; ++run) {
      Sleep(20);  // far longer than a worker spins
      pool.Run(&CountCall, &calls, &calls.expectedCount);
    }
    for (int i = 0; i < threads; ++i) EXPECT_EQ(calls.perIndex[i], kRuns) << threads << "/" << i;
  }
}

TEST(WorkerPool, DefaultIsOnePerLogicalProcessor) {
  WorkerPool pool(0);
  EXPECT_EQ(pool.ThreadCount(), WorkerPool::LogicalProcessorCount());
  EXPECT_GE(pool.ThreadCount(), 1);
}

TEST(WorkerPool, WorkersAreSeparatePersistentThreads) {
  WorkerPool pool(4);
  ThreadIds first, second;
  pool.Run(&RecordThread, &first, nullptr);
  pool.Run(&RecordThread, &second, nullptr);
  const std::set<DWORD> distinct(first.ids, first.ids + 4);
  EXPECT_EQ(distinct.size(), 4u);
  EXPECT_EQ(distinct.count(GetCurrentThreadId()), 0u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(first.ids[i], second.ids[i]) << i;
}

TEST(WorkerPool, RunReturnsOnlyWhenAllWorkersHaveFinished) {
  WorkerPool pool(3);
  std::atomic<int> done[3] = {{0}, {0}, {0}};
  pool.Run(&SlowThenMark, done, nullptr);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(done[i], 1) << i;
}

TEST(FrameBuffer, ImageEndsRightBeforeAnInaccessiblePage) {
  for (size_t bytes : {size_t{1}, size_t{4096}, size_t{64 * 48 * 6}, size_t{1000003}}) {
    FrameBuffer buffer(bytes);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(buffer.Data()) % 32, 0u);
    MEMORY_BASIC_INFORMATION last, beyond;
    ASSERT_TRUE(VirtualQuery(buffer.Data() + bytes - 1, &last, sizeof(last)));
    EXPECT_EQ(last.Protect, static_cast<DWORD>(PAGE_READWRITE)) << bytes;
    ASSERT_TRUE(VirtualQuery(buffer.Data() + bytes + 31, &beyond, sizeof(beyond)));
    EXPECT_EQ(beyond.Protect, static_cast<DWORD>(PAGE_NOACCESS)) << bytes;
    buffer.Data()[0] = 1;
    buffer.Data()[bytes - 1] = 1;
  }
}
