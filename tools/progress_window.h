// The save's progress bar as the filter sees it: a window that takes the
// bar's range, step and position messages. It lives on a thread of its own,
// so the filter's streaming thread, which sends the range when the save
// starts and posts a step per frame, never waits for the command's main
// thread; the main thread reads the bar whenever it likes.
#pragma once
#include <memory>
#include <mutex>
#include <thread>

#include "platform/win/message_queue.h"
#include "platform/win/types.h"

namespace kelorvo {

struct ProgressState {
  int low = 0;
  int high = 100;
  int position = 0;
  bool started = false;  // the range has been set
  // Steps done within the range, and the range's length.
  int done() const { return position - low; }
  int total() const { return high - low; }
};

class ProgressWindow {
 public:
  ProgressWindow();
  // Unregisters the window on its own thread and ends that thread.
  ~ProgressWindow();
  ProgressWindow(const ProgressWindow&) = delete;
  ProgressWindow& operator=(const ProgressWindow&) = delete;

  HWND hwnd() const { return hwnd_; }
  ProgressState state() const;
  // The state once every message posted to the bar so far has been handled:
  // the last steps of a save may still be queued when its end is signalled.
  ProgressState settledState();

 private:
  void run();
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

  std::shared_ptr<plat::MessageQueue> queue_;
  mutable std::mutex mutex_;
  ProgressState state_;
  int step_ = 10;
  bool quit_ = false;  // touched on the window's thread only
  HWND hwnd_ = nullptr;
  std::thread thread_;
};

}  // namespace kelorvo
