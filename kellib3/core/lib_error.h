// A failed library call: the error code (an entry of error list 1), where it
// was raised and what exactly was wrong. Entry points turn it into a positive
// result and the caller's error data.
#pragma once

#include <cstdint>
#include <string>

namespace kellib3 {

enum class ErrorCode : std::int32_t {
  InvalidHandle = 1,
  InvalidArgument = 2,
  NullPointer = 3,
  BlockSize = 4,
  UnknownId = 5,
  UnknownCommand = 6,
  OutOfOrder = 7,
  OutOfRange = 8,
  UnitNotSupported = 9,
  NoCamera = 10,
  NoController = 11,
  NotInitialised = 12,
  DeviceFault = 13,
  NoMemory = 15,
  BusyRecording = 16,
  StateFile = 17,
  Configuration = 18,
};

struct LibError {
  ErrorCode code;
  std::string remark;
  const char* file;
  int line;
  std::uint32_t object;
};

}  // namespace kellib3

// Raises a LibError with this source position. `object` is the handle concerned.
#define KL3_RAISE(code, object, remark) \
  throw ::kellib3::LibError { (code), (remark), __FILE__, __LINE__, static_cast<std::uint32_t>(object) }
