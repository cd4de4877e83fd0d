#include "platform/graph/graph_events.h"

#include <algorithm>
#include <chrono>

#include "platform/dshow/errors.h"
#include "platform/graph/graph_interfaces.h"
#include "platform/kernel/event_handles.h"
#include "platform/win/sent_messages.h"
#include "platform/win/window_table.h"

namespace plat {

namespace {

bool endsTheRun(LONG code) { return code == EC_COMPLETE || code == EC_ERRORABORT || code == EC_USERABORT; }

}  // namespace

GraphEvents::GraphEvents()
    : signal_(makeEvent(EventReset::Manual)), handle_(openEventHandle(signal_)) {}

GraphEvents::~GraphEvents() { CloseHandle(handle_); }

void GraphEvents::beginRun(std::size_t streams) {
  std::lock_guard lock(mutex_);
  running_ = true;
  streams_ = streams;
  completed_.clear();
  completionStatus_ = S_OK;
  finished_.reset();
}

void GraphEvents::endRun() {
  {
    std::lock_guard lock(mutex_);
    running_ = false;
  }
  changed_.notify_all();
}

void GraphEvents::notify(LONG code, std::intptr_t param1, std::intptr_t param2) {
  std::vector<GraphEvent> toQueue;
  std::vector<Post> posts;
  {
    std::lock_guard lock(mutex_);
    const GraphEvent event{code, param1, param2};
    if (code == EC_COMPLETE && countCompletions_) {
      countCompletionLocked(event, toQueue);
    } else {
      toQueue.push_back(event);
    }
    for (const GraphEvent& e : toQueue) {
      if (running_ && endsTheRun(e.code) && !finished_) finished_ = e.code;
      if (auto post = queueLocked(e)) posts.push_back(*post);
    }
  }
  changed_.notify_all();
  for (const Post& p : posts) postMessage(p.window, p.message, 0, p.instance);
}

void GraphEvents::countCompletionLocked(const GraphEvent& event, std::vector<GraphEvent>& out) {
  // A completion after the stop belongs to no run.
  if (!running_) return;
  if (std::find(completed_.begin(), completed_.end(), event.param2) != completed_.end()) return;
  completed_.push_back(event.param2);
  if (FAILED(static_cast<HRESULT>(event.param1)) && SUCCEEDED(completionStatus_)) {
    completionStatus_ = static_cast<HRESULT>(event.param1);
  }
  if (completed_.size() == std::max<std::size_t>(streams_, 1)) {
    out.push_back(GraphEvent{EC_COMPLETE, completionStatus_, 0});
  }
}

std::optional<GraphEvents::Post> GraphEvents::queueLocked(const GraphEvent& event) {
  if (flags_ & AM_MEDIAEVENT_NONOTIFY) return std::nullopt;
  queue_.push_back(event);
  signal_->set();
  if (!window_) return std::nullopt;
  return Post{window_, message_, instance_};
}

namespace {

std::optional<std::chrono::steady_clock::time_point> deadlineOf(DWORD timeoutMs) {
  if (timeoutMs == INFINITE) return std::nullopt;
  return std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
}

}  // namespace

// The application's thread may own windows that a streaming thread sends
// to while it waits here: the waits deliver them.
std::optional<GraphEvent> GraphEvents::next(DWORD timeoutMs) {
  DeliveringWait delivering(mutex_, changed_);
  std::unique_lock lock(mutex_);
  if (!delivering.wait(lock, [this] { return !queue_.empty(); }, deadlineOf(timeoutMs))) return std::nullopt;
  const GraphEvent event = queue_.front();
  queue_.pop_front();
  if (queue_.empty()) signal_->reset();
  return event;
}

std::optional<LONG> GraphEvents::waitForCompletion(DWORD timeoutMs) {
  DeliveringWait delivering(mutex_, changed_);
  std::unique_lock lock(mutex_);
  delivering.wait(lock, [this] { return finished_.has_value() || !running_; }, deadlineOf(timeoutMs));
  return finished_;
}

bool GraphEvents::setDefaultHandling(LONG code, bool on) {
  if (code != EC_COMPLETE) return false;
  std::lock_guard lock(mutex_);
  countCompletions_ = on;
  return true;
}

void GraphEvents::setNotifyWindow(HWND window, UINT message, std::intptr_t instance) {
  std::lock_guard lock(mutex_);
  window_ = window;
  message_ = message;
  instance_ = instance;
}

void GraphEvents::setNotifyFlags(LONG flags) {
  std::lock_guard lock(mutex_);
  flags_ = flags;
  if (flags_ & AM_MEDIAEVENT_NONOTIFY) {
    queue_.clear();
    signal_->reset();
  }
}

LONG GraphEvents::notifyFlags() const {
  std::lock_guard lock(mutex_);
  return flags_;
}

}  // namespace plat
