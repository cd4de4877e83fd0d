#include "platform/win/message_queue.h"

#include <iterator>

namespace plat {

MessageQueue::MessageQueue() : owner_(std::this_thread::get_id()) {}

void MessageQueue::bindToCurrentThread() {
  std::lock_guard lock(mutex_);
  owner_ = std::this_thread::get_id();
}

void MessageQueue::post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  cv_.notify_all();
}

bool MessageQueue::isCurrentThread() const {
  std::lock_guard lock(mutex_);
  return owner_ == std::this_thread::get_id();
}

std::size_t MessageQueue::pump() {
  std::deque<std::function<void()>> batch;
  {
    std::lock_guard lock(mutex_);
    batch.swap(tasks_);
  }
  // Tasks run without the lock, so they may post to this queue.
  std::size_t ran = 0;
  try {
    for (; ran < batch.size(); ++ran) batch[ran]();
  } catch (...) {
    // Keep what did not run yet, in order, ahead of anything newer.
    std::lock_guard lock(mutex_);
    tasks_.insert(tasks_.begin(), std::make_move_iterator(batch.begin() + static_cast<std::ptrdiff_t>(ran) + 1),
                  std::make_move_iterator(batch.end()));
    throw;
  }
  return ran;
}

std::size_t MessageQueue::waitAndPump(std::chrono::milliseconds timeout) {
  {
    std::unique_lock lock(mutex_);
    if (!cv_.wait_for(lock, timeout, [this] { return !tasks_.empty(); })) return 0;
  }
  return pump();
}

std::size_t MessageQueue::pending() const {
  std::lock_guard lock(mutex_);
  return tasks_.size();
}

}  // namespace plat
