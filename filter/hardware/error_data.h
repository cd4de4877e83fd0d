// One error data handle of the hardware library, freed with its owner.
#pragma once

#include "filter/hardware/kellib3.h"

namespace LIB3 {

class ErrorData {
 public:
  // Throws CError (with the fixed unknown-error text) when the library
  // cannot make one.
  ErrorData();
  ~ErrorData();
  ErrorData(const ErrorData&) = delete;
  ErrorData& operator=(const ErrorData&) = delete;

  KL3_HANDLE get() const { return handle_; }

 private:
  KL3_HANDLE handle_ = 0;
};

// The calling thread's own error data, made on first use. For code whose
// calls receive only an option handle: a report written by one thread is
// never overwritten by another before it is formatted.
KL3_HANDLE ThreadErrorData();

// Frees the calling thread's error data; a thread that ends (a streaming
// thread) calls it last. The module frees what is left when it unloads.
// Kept in a module-wide table rather than a thread_local with a destructor:
// such a destructor would pin the module in memory for good.
void ReleaseThreadErrorData();

}  // namespace LIB3
