// A bounded first-in first-out queue between two threads of a run: a stage waits when the
// next stage is that far behind, and a failure on either side ends both.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>

namespace quorlin_resizer {

template <class T>
class FrameQueue {
 public:
  explicit FrameQueue(size_t capacity) : capacity_(capacity) {}

  // Waits for room; false when the queue was closed (the other side has stopped).
  bool Push(T item) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return closed_ || items_.size() < capacity_; });
    if (closed_) return false;
    items_.push_back(std::move(item));
    changed_.notify_all();
    return true;
  }

  // Waits for an item; false when the queue is closed and empty.
  bool Pop(T &item) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [&] { return closed_ || !items_.empty(); });
    if (items_.empty()) return false;
    item = std::move(items_.front());
    items_.pop_front();
    changed_.notify_all();
    return true;
  }

  // No more pushes; items already in the queue can still be popped.
  void Close() {
    std::lock_guard<std::mutex> lock(mutex_);
    closed_ = true;
    changed_.notify_all();
  }

 private:
  const size_t capacity_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<T> items_;
  bool closed_ = false;
};

}  // namespace quorlin_resizer
