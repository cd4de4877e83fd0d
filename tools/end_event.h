// The end event a command hands the camera: auto-reset, unnamed, closed
// when the command is done with it.
#pragma once
#include "platform/kernel/event_handles.h"

namespace kelorvo {

class EndEvent {
 public:
  EndEvent() : handle_(CreateEvent(nullptr, FALSE, FALSE, nullptr)) {}
  ~EndEvent() {
    if (handle_) CloseHandle(handle_);
  }
  EndEvent(const EndEvent&) = delete;
  EndEvent& operator=(const EndEvent&) = delete;

  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

}  // namespace kelorvo
