// What a module's DllCanUnloadNow asks about: the objects it has made that
// are still alive and the LockServer(TRUE) calls not yet undone. The platform
// library is shared by every module in the process, so the count cannot live
// in it as one global: each module owns one of these and hands it to the
// objects it creates.
#pragma once

#include <atomic>

#include "platform/com/types.h"

namespace plat {

class ModuleRefCount {
 public:
  ModuleRefCount() = default;
  ModuleRefCount(const ModuleRefCount&) = delete;
  ModuleRefCount& operator=(const ModuleRefCount&) = delete;

  void objectCreated() noexcept { objects_.fetch_add(1, std::memory_order_relaxed); }
  void objectDestroyed() noexcept { objects_.fetch_sub(1, std::memory_order_acq_rel); }

  // IClassFactory::LockServer. Unlocking with no lock held is refused rather
  // than letting the count go negative and pin or free the module wrongly.
  HRESULT lockServer(BOOL lock) noexcept {
    if (lock) {
      locks_.fetch_add(1, std::memory_order_relaxed);
      return S_OK;
    }
    long held = locks_.load(std::memory_order_relaxed);
    do {
      if (held <= 0) return E_UNEXPECTED;
    } while (!locks_.compare_exchange_weak(held, held - 1, std::memory_order_acq_rel));
    return S_OK;
  }

  long objects() const noexcept { return objects_.load(std::memory_order_acquire); }
  long locks() const noexcept { return locks_.load(std::memory_order_acquire); }

  // DllCanUnloadNow: S_OK when nothing of this module is in use, else S_FALSE.
  HRESULT canUnloadNow() const noexcept {
    return objects() == 0 && locks() == 0 ? S_OK : S_FALSE;
  }

 private:
  std::atomic<long> objects_{0};
  std::atomic<long> locks_{0};
};

}  // namespace plat
