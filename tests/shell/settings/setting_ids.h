// Option ids of the virtual camera the settings tests use.
#pragma once
#include <cstdint>

namespace kel::test {

inline constexpr std::int32_t kExposure = 0x400002;
inline constexpr std::int32_t kPeriod = 0x400003;
inline constexpr std::int32_t kStartEvent = 0x400004;
inline constexpr std::int32_t kStopEvent = 0x400005;
inline constexpr std::int32_t kWindow = 0x400006;
inline constexpr std::int32_t kFrames = 0x400007;
inline constexpr std::int32_t kGain = 0x40000a;
inline constexpr std::int32_t kBlack = 0x40000d;
inline constexpr std::int32_t kVoltage = 0x400022;
inline constexpr std::int32_t kStopDelay = 0x400054;

inline constexpr std::int32_t kUnitNs = 1;
inline constexpr std::int32_t kUnitUs = 2;
inline constexpr std::int32_t kUnitFrames = 6;

}  // namespace kel::test
