// A dispatcher in front of a test thread's queue that can hold the thread
// posting to it: the poster of the n-th task waits inside post() until the
// test releases it. The save's progress bar sits behind one, so a test can
// park the streaming thread right after a given frame has been written
// (it posts the bar's step from inside the frame's production) and act
// while the save is known to be half-way.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "platform/win/message_queue.h"

namespace kel::test {

class GatedDispatcher final : public plat::MessageDispatcher {
 public:
  explicit GatedDispatcher(std::shared_ptr<plat::MessageQueue> queue) : queue_(std::move(queue)) {}
  ~GatedDispatcher() override { release(); }

  // Holds the poster of the n-th task from now on (counting from 1).
  void holdAt(int n);
  // On the queue's thread: pumps until a poster is held; false when none
  // was within `bound`.
  bool waitUntilHeld(std::chrono::milliseconds bound);
  // Lets a held poster (and every later one) go on.
  void release();

  void post(std::function<void()> task) override;
  bool isCurrentThread() const override { return queue_->isCurrentThread(); }

 private:
  std::shared_ptr<plat::MessageQueue> queue_;
  std::mutex mutex_;
  std::condition_variable released_;
  int posts_ = 0;
  int holdAt_ = 0;
  bool open_ = true;
  std::atomic<bool> held_{false};
};

}  // namespace kel::test
