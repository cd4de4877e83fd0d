// A kernel-style event: signalled by one thread, waited for by others.
// Auto-reset events release exactly one waiter per set(); manual-reset
// events stay signalled until reset(). A thread blocked in a wait runs the
// messages sent to its windows meanwhile (platform/win/sent_messages.h).
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

namespace plat {

enum class EventReset { Automatic, Manual };

class Event {
 public:
  explicit Event(EventReset mode, bool initiallySet = false);
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  void set();
  void reset();

  // Returns true when the event was signalled within the timeout; an
  // auto-reset event is consumed by the waiter that sees it.
  bool wait(std::chrono::milliseconds timeout);
  void wait();

  // Timeout in milliseconds where the all-ones value means no limit.
  bool waitMs(std::uint32_t timeoutMs);

  bool isSet() const;

 private:
  bool consumeLocked();
  bool waitDelivering(std::optional<std::chrono::steady_clock::time_point> deadline);

  const EventReset mode_;
  mutable std::mutex mutex_;
  std::condition_variable cv_;
  bool signalled_;
};

// Events are created by one module and signalled by another, so they travel
// as shared handles; the event lives while anyone holds it.
using EventHandle = std::shared_ptr<Event>;

EventHandle makeEvent(EventReset mode, bool initiallySet = false);

}  // namespace plat
