// Messages sent to a window from another thread, and the waits that deliver
// them. A sent message is posted to its window's dispatcher as usual, and is
// also kept here until it runs: if a thread of that dispatcher is meanwhile
// blocked in a platform wait (an event, a streaming thread's command or
// exit, a graph's events, another send's reply), the wait runs it on that
// thread, as a window thread's message wait does. Whichever comes first --
// the dispatcher's task or such a wait -- runs the message; it runs once.
//
// Without this a window's thread that waits for a streaming thread (a graph
// stop) while that thread sends to one of the window's windows would wait
// for ever, and so would two threads sending to each other's windows.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

#include "platform/win/dispatcher.h"
#include "platform/win/types.h"

namespace plat {

// One message on its way from its sender to the receiving thread.
class SentMessage {
 public:
  SentMessage(std::weak_ptr<MessageDispatcher> dispatcher, std::function<LRESULT()> handler)
      : dispatcher_(std::move(dispatcher)), handler_(std::move(handler)) {}

  // Runs the handler and hands its result to the sender, unless the
  // message has already run or been dropped.
  void run();
  // The message will not run (its dispatcher discarded it): the sender
  // gets 0.
  void drop();
  // The sender's side: waits for the result, delivering meanwhile what is
  // sent to the sender's own windows.
  LRESULT waitForReply();

  // Still to run, on a thread of its dispatcher.
  bool waitsForThisThread() const;
  std::shared_ptr<MessageDispatcher> dispatcher() const { return dispatcher_.lock(); }

 private:
  bool take();
  void reply(LRESULT result);

  std::weak_ptr<MessageDispatcher> dispatcher_;
  std::function<LRESULT()> handler_;
  std::atomic<bool> taken_{false};
  std::mutex mutex_;
  std::condition_variable replied_;
  bool done_ = false;
  LRESULT result_ = 0;
};

// Keeps `message` until it runs and wakes the delivering waits to look.
void queueSentMessage(std::shared_ptr<SentMessage> message);

// Runs every waiting message whose window's dispatcher runs on this
// thread. Returns how many ran.
std::size_t deliverSentMessages();

// A wait on a condition variable that delivers sent messages while it
// waits. Construct it BEFORE locking `mutex` and let it go after unlocking
// (declare it before the lock): it registers itself under the registry's
// lock, which is taken before waiters' locks, never after.
class DeliveringWait {
 public:
  DeliveringWait(std::mutex& mutex, std::condition_variable& changed);
  ~DeliveringWait();
  DeliveringWait(const DeliveringWait&) = delete;
  DeliveringWait& operator=(const DeliveringWait&) = delete;

  // With `lock` holding the mutex: waits until ready() or the deadline (none:
  // no limit). Messages run with the lock released. Returns ready().
  template <class Ready>
  bool wait(std::unique_lock<std::mutex>& lock, Ready ready,
            std::optional<std::chrono::steady_clock::time_point> deadline = std::nullopt);

  // From the registry, when a message is sent: look again.
  void kick();

 private:
  std::mutex& mutex_;
  std::condition_variable& changed_;
  bool kicked_ = true;  // under mutex_; the first look catches earlier sends
};

template <class Ready>
bool DeliveringWait::wait(std::unique_lock<std::mutex>& lock, Ready ready,
                          std::optional<std::chrono::steady_clock::time_point> deadline) {
  for (;;) {
    if (ready()) return true;
    if (kicked_) {
      kicked_ = false;
      lock.unlock();
      deliverSentMessages();
      lock.lock();
      continue;
    }
    if (!deadline) {
      changed_.wait(lock);
    } else if (changed_.wait_until(lock, *deadline) == std::cv_status::timeout) {
      return ready();
    }
  }
}

}  // namespace plat
