#include "platform/win/sent_messages.h"

#include <exception>
#include <vector>

namespace plat {
namespace {

// The messages still to run and the waits that may run them. Lock order:
// this registry's lock, then a waiter's own lock; nothing is called out
// while the registry is locked but a waiter's kick.
class SentRegistry {
 public:
  void add(std::shared_ptr<SentMessage> message) {
    std::lock_guard lock(mutex_);
    pending_.push_back(std::move(message));
    for (DeliveringWait* wait : waits_) wait->kick();
  }

  void remove(const SentMessage* message) {
    std::lock_guard lock(mutex_);
    std::erase_if(pending_, [message](const auto& m) { return m.get() == message; });
  }

  std::vector<std::shared_ptr<SentMessage>> pending() const {
    std::lock_guard lock(mutex_);
    return pending_;
  }

  void enter(DeliveringWait* wait) {
    std::lock_guard lock(mutex_);
    waits_.push_back(wait);
  }

  void leave(DeliveringWait* wait) {
    std::lock_guard lock(mutex_);
    std::erase(waits_, wait);
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::shared_ptr<SentMessage>> pending_;  // in the order sent
  std::vector<DeliveringWait*> waits_;
};

SentRegistry& registry() {
  static SentRegistry instance;
  return instance;
}

// The next message this thread is to run, if any.
std::shared_ptr<SentMessage> nextForThisThread() {
  // Dispatchers are asked outside the registry's lock: a dispatcher may
  // take locks of its own.
  for (auto& message : registry().pending())
    if (message->waitsForThisThread()) return message;
  return nullptr;
}

}  // namespace

bool SentMessage::take() {
  if (taken_.exchange(true)) return false;
  registry().remove(this);
  return true;
}

void SentMessage::reply(LRESULT result) {
  {
    std::lock_guard lock(mutex_);
    result_ = result;
    done_ = true;
  }
  replied_.notify_all();
}

void SentMessage::run() {
  if (!take()) return;
  LRESULT result = 0;
  try {
    result = handler_();
  } catch (...) {
    reply(0);
    throw;
  }
  reply(result);
}

void SentMessage::drop() {
  if (take()) reply(0);
}

LRESULT SentMessage::waitForReply() {
  DeliveringWait delivering(mutex_, replied_);
  std::unique_lock lock(mutex_);
  delivering.wait(lock, [this] { return done_; });
  return result_;
}

bool SentMessage::waitsForThisThread() const {
  if (taken_.load()) return false;
  const auto dispatcher = dispatcher_.lock();
  return dispatcher && dispatcher->isCurrentThread();
}

void queueSentMessage(std::shared_ptr<SentMessage> message) { registry().add(std::move(message)); }

std::size_t deliverSentMessages() {
  std::size_t ran = 0;
  while (auto message = nextForThisThread()) {
    try {
      message->run();
    } catch (...) {
      // The wait that ran it is no place for a handler's failure: it goes
      // to the dispatcher's loop, where the message would have run.
      auto error = std::current_exception();
      if (auto dispatcher = message->dispatcher()) dispatcher->post([error] { std::rethrow_exception(error); });
    }
    ++ran;
  }
  return ran;
}

DeliveringWait::DeliveringWait(std::mutex& mutex, std::condition_variable& changed)
    : mutex_(mutex), changed_(changed) {
  registry().enter(this);
}

DeliveringWait::~DeliveringWait() { registry().leave(this); }

void DeliveringWait::kick() {
  {
    std::lock_guard lock(mutex_);
    kicked_ = true;
  }
  changed_.notify_all();
}

}  // namespace plat
