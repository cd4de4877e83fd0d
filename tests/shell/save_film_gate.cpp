#include "tests/shell/save_film_gate.h"

namespace kel::test {

void GatedDispatcher::holdAt(int n) {
  std::lock_guard lock(mutex_);
  posts_ = 0;
  holdAt_ = n;
  open_ = false;
  held_ = false;
}

bool GatedDispatcher::waitUntilHeld(std::chrono::milliseconds bound) {
  const auto deadline = std::chrono::steady_clock::now() + bound;
  while (!held_ && std::chrono::steady_clock::now() < deadline)
    queue_->waitAndPump(std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now()));
  return held_;
}

void GatedDispatcher::release() {
  {
    std::lock_guard lock(mutex_);
    open_ = true;
  }
  released_.notify_all();
}

void GatedDispatcher::post(std::function<void()> task) {
  // Queued first: what the held poster sent before reaches the window.
  queue_->post(std::move(task));
  std::unique_lock lock(mutex_);
  if (++posts_ != holdAt_ || open_) return;
  held_ = true;
  // Wakes the test thread's pump to see the hold.
  queue_->post([] {});
  released_.wait(lock, [this] { return open_; });
}

}  // namespace kel::test
