// Opaque kernel handles and the wait results, with the values the callers
// on both sides of the COM boundary compare against.
#pragma once

#include <cstdint>

#include "platform/com/types.h"

using HANDLE = void*;
using UINT = std::uint32_t;

inline constexpr DWORD INFINITE = 0xFFFFFFFFu;
inline constexpr DWORD WAIT_OBJECT_0 = 0x00000000u;
inline constexpr DWORD WAIT_TIMEOUT = 0x00000102u;
inline constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;
