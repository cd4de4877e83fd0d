// An event handle closed when its owner goes.
#pragma once
#include <utility>

#include "platform/kernel/event_handles.h"

class OwnedEvent {
 public:
  OwnedEvent() = default;
  explicit OwnedEvent(HANDLE handle) : handle_(handle) {}
  ~OwnedEvent() { reset(); }
  OwnedEvent(OwnedEvent&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  OwnedEvent& operator=(OwnedEvent&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  OwnedEvent(const OwnedEvent&) = delete;
  OwnedEvent& operator=(const OwnedEvent&) = delete;

  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  void reset() {
    if (handle_) CloseHandle(std::exchange(handle_, nullptr));
  }

 private:
  HANDLE handle_ = nullptr;
};
