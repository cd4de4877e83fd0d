// Type tags of VARIANT and SAFEARRAY, with what the rest of the automation
// code needs to know about each: its size and whether it owns anything.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/com/types.h"

using VARTYPE = std::uint16_t;
using VARIANT_BOOL = std::int16_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using WORD = std::uint16_t;
using BYTE = std::uint8_t;
using ULONGLONG = std::uint64_t;
using FLOAT = float;
using DOUBLE = double;

inline constexpr VARIANT_BOOL VARIANT_TRUE = -1;
inline constexpr VARIANT_BOOL VARIANT_FALSE = 0;

inline constexpr VARTYPE VT_EMPTY = 0;
inline constexpr VARTYPE VT_NULL = 1;
inline constexpr VARTYPE VT_I2 = 2;
inline constexpr VARTYPE VT_I4 = 3;
inline constexpr VARTYPE VT_R4 = 4;
inline constexpr VARTYPE VT_R8 = 5;
inline constexpr VARTYPE VT_BSTR = 8;
inline constexpr VARTYPE VT_BOOL = 11;
inline constexpr VARTYPE VT_VARIANT = 12;
inline constexpr VARTYPE VT_UNKNOWN = 13;
inline constexpr VARTYPE VT_UI1 = 17;
inline constexpr VARTYPE VT_UI2 = 18;
inline constexpr VARTYPE VT_UI4 = 19;
inline constexpr VARTYPE VT_I8 = 20;
inline constexpr VARTYPE VT_UI8 = 21;
inline constexpr VARTYPE VT_INT = 22;
inline constexpr VARTYPE VT_UINT = 23;
inline constexpr VARTYPE VT_ARRAY = 0x2000;
inline constexpr VARTYPE VT_BYREF = 0x4000;
inline constexpr VARTYPE VT_TYPEMASK = 0x0FFF;

namespace plat {

// Bytes of a plain value type (numbers and booleans, copied bit for bit);
// 0 for anything else.
std::size_t plainTypeSize(VARTYPE vt);

// Element types a SAFEARRAY can be created with.
bool isArrayElementType(VARTYPE vt);

// Whether `vt` (flags included) is a tag a VARIANT may carry.
bool isVariantType(VARTYPE vt);

}  // namespace plat
