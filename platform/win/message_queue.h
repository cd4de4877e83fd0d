// A dispatcher that the receiving thread drains itself.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

#include "platform/win/dispatcher.h"

namespace plat {

class MessageQueue : public MessageDispatcher {
 public:
  // The creating thread is the receiving thread until bindToCurrentThread.
  MessageQueue();

  void bindToCurrentThread();

  void post(std::function<void()> task) override;
  bool isCurrentThread() const override;

  // Runs the tasks queued so far (not those they queue in turn, so a task
  // that reposts itself cannot trap the caller). Returns how many ran.
  std::size_t pump();

  // Waits until something is queued or the timeout passes, then pumps.
  std::size_t waitAndPump(std::chrono::milliseconds timeout);

  std::size_t pending() const;

 private:
  mutable std::mutex mutex_;
  std::condition_variable cv_;
  std::deque<std::function<void()>> tasks_;
  std::thread::id owner_;
};

}  // namespace plat
