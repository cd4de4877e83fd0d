#include "platform/graph/repaint_requests.h"

#include "platform/graph/renderer_frames.h"
#include "platform/win/window_table.h"

namespace plat {

void RepaintRequests::setWindow(HWND window) {
  std::lock_guard lock(mutex_);
  window_ = window;
  outstanding_ = false;
}

HWND RepaintRequests::window() const {
  std::lock_guard lock(mutex_);
  return window_;
}

void RepaintRequests::frameArrived() {
  HWND target = nullptr;
  {
    std::lock_guard lock(mutex_);
    if (!window_ || outstanding_) return;
    outstanding_ = true;
    target = window_;
  }
  // Posted outside the lock; a window that went away leaves no request behind.
  if (!postMessage(target, kRendererRepaintMessage, 0, 0)) acknowledge();
}

void RepaintRequests::acknowledge() {
  std::lock_guard lock(mutex_);
  outstanding_ = false;
}

}  // namespace plat
