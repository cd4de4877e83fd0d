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

}  // namespace LIB3
