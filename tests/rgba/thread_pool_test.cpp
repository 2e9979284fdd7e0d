// The pool: every index once per call, index 0 on the caller and the others each on a worker of
// its own, the same workers call after call.
#include "rgba/ThreadPool.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

namespace {

struct Record {
  std::vector<std::thread::id> ids;
  std::vector<int> counts;
};

void RecordCall(void *context, int index, int count) {
  Record &record = *static_cast<Record *>(context);
  record.ids[index] = std::this_thread::get_id();
  record.counts[index] = count;
}

TEST(RgbaThreadPool, RunsEveryIndexOnItsOwnLastingThread) {
  for (const int threads : {1, 2, 5}) {
    rgba::ThreadPool pool(threads);
    ASSERT_EQ(pool.Threads(), threads);
    std::vector<std::thread::id> first;
    for (int call = 0; call < 3; ++call) {
      Record record{std::vector<std::thread::id>(threads), std::vector<int>(threads, 0)};
      pool.Run(RecordCall, &record);
      EXPECT_EQ(record.counts, std::vector<int>(threads, threads));
      EXPECT_EQ(record.ids[0], std::this_thread::get_id());
      for (int i = 1; i < threads; ++i) {
        for (int j = 0; j < i; ++j) EXPECT_NE(record.ids[i], record.ids[j]) << i << " " << j;
      }
      if (call == 0) first = record.ids;
      EXPECT_EQ(record.ids, first) << "the workers are started once";
    }
  }
  EXPECT_GE(rgba::ThreadPool(0).Threads(), 1);
}

}  // namespace
