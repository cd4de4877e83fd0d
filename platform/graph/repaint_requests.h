// Asks the renderer's clipping window to repaint when a frame arrives,
// with at most one request outstanding: a window that paints slowly gets
// one message, not one per frame.
#pragma once

#include <mutex>

#include "platform/win/types.h"

namespace plat {

class RepaintRequests {
 public:
  // Null: no window to tell. A new window gets a request for the next frame.
  void setWindow(HWND window);
  HWND window() const;

  // A frame arrived: posts the repaint message unless one is outstanding.
  // Nothing is posted when the handle is not (or no longer) a window.
  void frameArrived();
  // The window painted (or read the frame): the next frame asks again.
  void acknowledge();

 private:
  mutable std::mutex mutex_;
  HWND window_ = nullptr;
  bool outstanding_ = false;
};

}  // namespace plat
