// Unit conversions of scalar options. Every option keeps one native unit
// (nanoseconds for times, volts, plain numbers); values in other units are
// converted on the way in and out.
#pragma once

#include <cstdint>
#include <optional>

#include "kellib3/model/camera_settings.h"

namespace kellib3 {

enum class Quantity {
  Plain,   // unit 0 only
  Frames,  // units 0 and 6 (a number of frames)
  Time,    // units 1 ns, 2 us, 3 ms
  Rate,    // a time that also accepts 31 frames per second
  Volt,    // unit 12
};

bool acceptsUnit(Quantity q, std::uint32_t unit);
// Physical units in order (unit 0 is implied for Plain and Frames).
std::optional<std::uint32_t> nextUnit(Quantity q, std::uint32_t after);

// Native value of `value` given in `unit` (the unit must be accepted).
std::int64_t toNative(std::uint32_t unit, std::int64_t value);
// `native` expressed in `unit`: rounded down, saturated to 32 bits.
std::int32_t fromNative(std::uint32_t unit, std::int64_t native);
// A native range in `unit`, its ends rounded as values are, so that every
// value read in `unit` lies inside it (rate: both ends swap).
std::pair<std::int32_t, std::int32_t> rangeIn(std::uint32_t unit, Range native);
// The native step that moves the value in `unit` by +1 (sign included).
std::int64_t nativeDirection(std::uint32_t unit);
// The native amount of one `unit`; nullopt for the frame rate, which is not
// proportional to the native period.
std::optional<std::int64_t> nativePerUnit(std::uint32_t unit);

}  // namespace kellib3
