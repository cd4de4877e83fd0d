// Where a window's messages run: the receiving thread's event loop. Headless
// hosts and tests use MessageQueue; the desktop shell binds its own loop.
#pragma once

#include <functional>

namespace plat {

class MessageDispatcher {
 public:
  virtual ~MessageDispatcher() = default;

  // Queues a task to run on the dispatcher's thread, after every task
  // queued before it. Callable from any thread.
  virtual void post(std::function<void()> task) = 0;

  // True when called on the dispatcher's thread; a message sent from that
  // thread runs at once instead of being queued and waited for.
  virtual bool isCurrentThread() const = 0;
};

}  // namespace plat
