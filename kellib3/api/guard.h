// The common frame of every entry point: lock the library, check that it is
// initialised, apply fault injection, and turn a raised error into a positive
// result recorded in the caller's error data. Nothing escapes to C callers.
#pragma once

#include <mutex>
#include <new>
#include <string>

#include "filter/hardware/kellib3.h"
#include "kellib3/core/error_store.h"
#include "kellib3/core/lib_error.h"
#include "kellib3/system/library.h"

namespace kellib3 {

inline KL3_RESULT failWith(KL3_HANDLE error, const char* function, LibError e) {
  e.remark = std::string(function) + ": " + e.remark;
  errorStore().record(error, e);
  return static_cast<KL3_RESULT>(e.code);
}

// `body` receives the held lock (Wait releases it while waiting).
template <typename Body>
KL3_RESULT guarded(const char* function, KL3_HANDLE error, Body&& body, bool needsInit = true) {
  try {
    Library& lib = library();
    std::unique_lock lock(lib.mutex);
    if (needsInit && lib.initCount == 0)
      KL3_RAISE(ErrorCode::NotInitialised, 0, "KelLib3Init has not been called");
    if (needsInit && lib.faults.shouldFail(function))
      KL3_RAISE(ErrorCode::DeviceFault, 0, "the device did not answer (injected fault)");
    body(lock);
    return 0;
  } catch (const LibError& e) {
    return failWith(error, function, e);
  } catch (const std::bad_alloc&) {
    return failWith(error, function, LibError{ErrorCode::NoMemory, "out of memory", __FILE__, __LINE__, 0});
  } catch (const std::exception& e) {
    return failWith(error, function, LibError{ErrorCode::DeviceFault, e.what(), __FILE__, __LINE__, 0});
  }
}

template <typename T>
T& required(T* pointer, const char* name) {
  if (pointer == nullptr) KL3_RAISE(ErrorCode::NullPointer, 0, std::string(name) + " is a null pointer");
  return *pointer;
}

}  // namespace kellib3
