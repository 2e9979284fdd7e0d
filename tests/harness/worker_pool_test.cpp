// The worker threads behind exec_multi_thread_func, and the guarded frame images.
#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <set>
#include <vector>

#include "harness/FrameBuffer.h"
#include "harness/WorkerPool.h"

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

// Worker i marks itself done only after worker i + 1 has, so worker 0 is the last to finish.
// The wait on the next worker gives up after ten seconds, a safety limit.
void __cdecl MarkAfterTheNext(int thread_id, int thread_num, void *param1, void *) {
  auto *done = static_cast<std::atomic<int> *>(param1);
  if (thread_id + 1 < thread_num) {
    const ULONGLONG limit = GetTickCount64() + 10000;
    while (done[thread_id + 1] == 0 && GetTickCount64() < limit) SwitchToThread();
  }
  done[thread_id] = 1;
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

// Calls in quick succession find the workers still spinning (above); without spinning every
// call finds them asleep and the caller sleeps until they are done. Both must run every index
// once, with more workers than processors too.
TEST(WorkerPool, CallsWakeSleepingWorkers) {
  for (int threads : {1, 2, 2 * WorkerPool::LogicalProcessorCount() + 1}) {
    WorkerPool pool(threads, std::chrono::microseconds(0));
    Calls calls(threads);
    constexpr int kRuns = 50;
    for (int run = 0; run < kRuns; ++run) pool.Run(&CountCall, &calls, &calls.expectedCount);
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
  for (std::chrono::microseconds spinTime : {WorkerPool::kSpinTime, std::chrono::microseconds(0)}) {
    WorkerPool pool(3, spinTime);
    std::atomic<int> done[3] = {{0}, {0}, {0}};
    pool.Run(&MarkAfterTheNext, done, nullptr);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(done[i], 1) << i << " spinning " << spinTime.count();
  }
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
