#include "platform/kernel/event.h"

#include "platform/kernel/handle.h"

namespace plat {

Event::Event(EventReset mode, bool initiallySet) : mode_(mode), signalled_(initiallySet) {}

void Event::set() {
  {
    std::lock_guard lock(mutex_);
    signalled_ = true;
  }
  // An auto-reset event lets one waiter through; waking them all would only
  // make the others go back to sleep.
  if (mode_ == EventReset::Automatic) {
    cv_.notify_one();
  } else {
    cv_.notify_all();
  }
}

void Event::reset() {
  std::lock_guard lock(mutex_);
  signalled_ = false;
}

bool Event::consumeLocked() {
  if (!signalled_) return false;
  if (mode_ == EventReset::Automatic) signalled_ = false;
  return true;
}

bool Event::wait(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  if (!cv_.wait_for(lock, timeout, [this] { return signalled_; })) return false;
  return consumeLocked();
}

void Event::wait() {
  std::unique_lock lock(mutex_);
  cv_.wait(lock, [this] { return signalled_; });
  consumeLocked();
}

bool Event::waitMs(std::uint32_t timeoutMs) {
  if (timeoutMs == INFINITE) {
    wait();
    return true;
  }
  return wait(std::chrono::milliseconds(timeoutMs));
}

bool Event::isSet() const {
  std::lock_guard lock(mutex_);
  return signalled_;
}

EventHandle makeEvent(EventReset mode, bool initiallySet) {
  return std::make_shared<Event>(mode, initiallySet);
}

}  // namespace plat
