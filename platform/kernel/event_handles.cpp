#include "platform/kernel/event_handles.h"

#include <cstdint>
#include <mutex>
#include <unordered_map>

#include "platform/kernel/last_error.h"

namespace {

class HandleTable {
 public:
  HANDLE add(plat::EventHandle event) {
    std::lock_guard lock(mutex_);
    // Values grow without reuse, so a stale handle never names a new event.
    next_ += 4;
    events_.emplace(next_, std::move(event));
    return reinterpret_cast<HANDLE>(next_);
  }

  plat::EventHandle find(HANDLE handle) const {
    std::lock_guard lock(mutex_);
    auto it = events_.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == events_.end() ? nullptr : it->second;
  }

  bool remove(HANDLE handle) {
    std::lock_guard lock(mutex_);
    return events_.erase(reinterpret_cast<std::uintptr_t>(handle)) != 0;
  }

 private:
  mutable std::mutex mutex_;
  std::uintptr_t next_ = 0x1000;
  std::unordered_map<std::uintptr_t, plat::EventHandle> events_;
};

HandleTable& table() {
  static HandleTable instance;
  return instance;
}

plat::EventHandle lookup(HANDLE handle) {
  auto event = table().find(handle);
  if (!event) SetLastError(ERROR_INVALID_HANDLE);
  return event;
}

}  // namespace

HANDLE CreateEvent(const void* /*attributes*/, BOOL manualReset, BOOL initialState,
                   const char* name) {
  if (name != nullptr) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
  }
  auto mode = manualReset ? plat::EventReset::Manual : plat::EventReset::Automatic;
  HANDLE handle = table().add(plat::makeEvent(mode, initialState != FALSE));
  SetLastError(ERROR_SUCCESS);
  return handle;
}

BOOL SetEvent(HANDLE event) {
  auto e = lookup(event);
  if (!e) return FALSE;
  e->set();
  return TRUE;
}

BOOL ResetEvent(HANDLE event) {
  auto e = lookup(event);
  if (!e) return FALSE;
  e->reset();
  return TRUE;
}

DWORD WaitForSingleObject(HANDLE event, DWORD timeoutMs) {
  auto e = lookup(event);
  if (!e) return WAIT_FAILED;
  return e->waitMs(timeoutMs) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

BOOL CloseHandle(HANDLE event) {
  if (table().remove(event)) return TRUE;
  SetLastError(ERROR_INVALID_HANDLE);
  return FALSE;
}

namespace plat {

HANDLE openEventHandle(EventHandle event) {
  if (!event) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return table().add(std::move(event));
}

EventHandle eventFromHandle(HANDLE handle) { return table().find(handle); }

}  // namespace plat
