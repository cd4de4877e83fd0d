#include "platform/win/window_table.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <stdexcept>
#include <unordered_map>

#include "platform/win/sent_messages.h"

namespace plat {
namespace {

struct Window {
  std::shared_ptr<MessageDispatcher> dispatcher;
  MessageHandler handler;
  // Shared with the posted tasks, which outlive the window.
  std::shared_ptr<const MessageHandler> undelivered;
  std::atomic<bool> alive{true};

  LRESULT deliver(const Message& m) const {
    return alive.load(std::memory_order_acquire) ? handler(m) : 0;
  }
};

// The task postMessage queues: delivers the message if its window is still
// there, and otherwise, or when the dispatcher discards the task without
// running it, hands it to the window's undelivered handler.
class PostedMessage {
 public:
  PostedMessage(const std::shared_ptr<Window>& window, const Message& m)
      : window_(window), undelivered_(window->undelivered), message_(m) {}
  ~PostedMessage() {
    if (!delivered_ && undelivered_) (*undelivered_)(message_);
  }
  PostedMessage(const PostedMessage&) = delete;
  PostedMessage& operator=(const PostedMessage&) = delete;

  void run() {
    auto w = window_.lock();
    if (!w || !w->alive.load(std::memory_order_acquire)) return;
    delivered_ = true;
    w->handler(message_);
  }

 private:
  // Held weakly: a queue that is never pumped again must not keep its
  // windows (and through them itself) alive.
  std::weak_ptr<Window> window_;
  std::shared_ptr<const MessageHandler> undelivered_;
  Message message_;
  bool delivered_ = false;
};

class WindowTable {
 public:
  HWND add(std::shared_ptr<Window> window) {
    std::lock_guard lock(mutex_);
    // Even values from a counter that never repeats: no handle is reused.
    next_ += 2;
    windows_.emplace(next_, std::move(window));
    return reinterpret_cast<HWND>(next_);
  }

  std::shared_ptr<Window> find(HWND hwnd) const {
    std::lock_guard lock(mutex_);
    auto it = windows_.find(reinterpret_cast<std::uintptr_t>(hwnd));
    return it == windows_.end() ? nullptr : it->second;
  }

  std::shared_ptr<Window> remove(HWND hwnd) {
    std::lock_guard lock(mutex_);
    auto it = windows_.find(reinterpret_cast<std::uintptr_t>(hwnd));
    if (it == windows_.end()) return nullptr;
    auto window = std::move(it->second);
    windows_.erase(it);
    return window;
  }

 private:
  mutable std::mutex mutex_;
  std::uintptr_t next_ = 0x10000;
  std::unordered_map<std::uintptr_t, std::shared_ptr<Window>> windows_;
};

WindowTable& table() {
  static WindowTable instance;
  return instance;
}

// Held by the task that sendMessage posts: a dispatcher that discards the
// task without running it still releases the sender.
class DropUnlessRun {
 public:
  explicit DropUnlessRun(std::shared_ptr<SentMessage> message) : message_(std::move(message)) {}
  ~DropUnlessRun() { message_->drop(); }
  DropUnlessRun(const DropUnlessRun&) = delete;
  DropUnlessRun& operator=(const DropUnlessRun&) = delete;

  void run() { message_->run(); }

 private:
  std::shared_ptr<SentMessage> message_;
};

}  // namespace

HWND registerWindow(std::shared_ptr<MessageDispatcher> dispatcher, MessageHandler handler,
                    MessageHandler undelivered) {
  if (!dispatcher || !handler) {
    throw std::invalid_argument("registerWindow needs a dispatcher and a handler");
  }
  auto window = std::make_shared<Window>();
  window->dispatcher = std::move(dispatcher);
  window->handler = std::move(handler);
  if (undelivered) window->undelivered = std::make_shared<const MessageHandler>(std::move(undelivered));
  return table().add(std::move(window));
}

bool unregisterWindow(HWND hwnd) {
  auto window = table().remove(hwnd);
  if (!window) return false;
  window->alive.store(false, std::memory_order_release);
  return true;
}

bool isWindow(HWND hwnd) { return hwnd != nullptr && table().find(hwnd) != nullptr; }

bool postMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto window = table().find(hwnd);
  if (!window) return false;
  auto task = std::make_shared<PostedMessage>(window, Message{hwnd, message, wParam, lParam});
  window->dispatcher->post([task] { task->run(); });
  return true;
}

LRESULT sendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto window = table().find(hwnd);
  if (!window) return 0;
  Message m{hwnd, message, wParam, lParam};
  if (window->dispatcher->isCurrentThread()) return window->deliver(m);
  std::weak_ptr<Window> weak = window;
  // A window gone before delivery answers 0.
  auto sent = std::make_shared<SentMessage>(window->dispatcher, [weak, m]() -> LRESULT {
    auto w = weak.lock();
    return w ? w->deliver(m) : 0;
  });
  // Kept before it is posted, so the task always finds it to take or
  // already taken.
  queueSentMessage(sent);
  auto task = std::make_shared<DropUnlessRun>(sent);
  window->dispatcher->post([task] { task->run(); });
  task.reset();
  window.reset();
  return sent->waitForReply();
}

}  // namespace plat
