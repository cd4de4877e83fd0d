#include "platform/kernel/event.h"

#include "platform/kernel/handle.h"
#include "platform/win/sent_messages.h"

namespace plat {

Event::Event(EventReset mode, bool initiallySet) : mode_(mode), signalled_(initiallySet) {}

void Event::set() {
  // Notified under the lock: a waiter that sees the signal may destroy the
  // event at once (a stack event waited for and dropped), so nothing may
  // touch it once the lock is released.
  std::lock_guard lock(mutex_);
  signalled_ = true;
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
  {
    std::lock_guard lock(mutex_);
    if (consumeLocked()) return true;
    if (timeout <= std::chrono::milliseconds::zero()) return false;
  }
  return waitDelivering(std::chrono::steady_clock::now() + timeout);
}

void Event::wait() { waitDelivering(std::nullopt); }

bool Event::waitDelivering(std::optional<std::chrono::steady_clock::time_point> deadline) {
  // A window's thread waiting here still answers what is sent to its
  // windows, so a thread it waits for may send to them meanwhile.
  DeliveringWait delivering(mutex_, cv_);
  std::unique_lock lock(mutex_);
  if (!delivering.wait(lock, [this] { return signalled_; }, deadline)) return false;
  return consumeLocked();
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
