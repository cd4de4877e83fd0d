// The graph's event queue: what filters report (end of stream, errors) and
// what the application reads back. Filters notify from their streaming
// threads; the application waits on the handle, takes events one by one or
// waits for the run to finish.
//
// End of stream is counted: while EC_COMPLETE has its default handling, the
// graph queues one EC_COMPLETE when every filter that ends a stream has sent
// its own. Cancelling the default handling queues each filter's EC_COMPLETE
// as it comes.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/kernel/event.h"
#include "platform/kernel/handle.h"
#include "platform/win/types.h"

namespace plat {

struct GraphEvent {
  LONG code;
  std::intptr_t param1;
  std::intptr_t param2;
};

class GraphEvents {
 public:
  GraphEvents();
  ~GraphEvents();
  GraphEvents(const GraphEvents&) = delete;
  GraphEvents& operator=(const GraphEvents&) = delete;

  // Manual-reset, set exactly while events are queued. Owned here.
  HANDLE handle() const { return handle_; }

  // A run begins with `streams` filters that each end a stream.
  void beginRun(std::size_t streams);
  // The graph stopped: completions arriving now are stale, and a wait for
  // completion gives up.
  void endRun();

  // From filters, on any thread.
  void notify(LONG code, std::intptr_t param1, std::intptr_t param2);

  // The oldest event, waiting up to timeoutMs (INFINITE: no limit).
  std::optional<GraphEvent> next(DWORD timeoutMs);
  // Waits until this run completed or was aborted (EC_COMPLETE,
  // EC_ERRORABORT, EC_USERABORT) and returns that code; the event stays
  // queued for next(). Nullopt on time-out or when the run ends first.
  std::optional<LONG> waitForCompletion(DWORD timeoutMs);

  // Only EC_COMPLETE has a default handling; false for any other code.
  bool setDefaultHandling(LONG code, bool on);
  // A message posted to `window` for every event queued; null: none.
  void setNotifyWindow(HWND window, UINT message, std::intptr_t instance);
  // AM_MEDIAEVENT_NONOTIFY: nothing is queued; setting it drops the queue.
  void setNotifyFlags(LONG flags);
  LONG notifyFlags() const;

 private:
  struct Post {
    HWND window;
    UINT message;
    std::intptr_t instance;
  };

  // Queues the event and returns the message to post once unlocked.
  std::optional<Post> queueLocked(const GraphEvent& event);
  void countCompletionLocked(const GraphEvent& event, std::vector<GraphEvent>& out);

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<GraphEvent> queue_;
  EventHandle signal_;
  HANDLE handle_;

  bool running_ = false;
  std::size_t streams_ = 0;
  std::vector<std::intptr_t> completed_;
  HRESULT completionStatus_ = 0;
  std::optional<LONG> finished_;

  bool countCompletions_ = true;
  HWND window_ = nullptr;
  UINT message_ = 0;
  std::intptr_t instance_ = 0;
  LONG flags_ = 0;
};

}  // namespace plat
