// The camera's settings and the rules that tie them together: the input
// window is limited by the sensor, the decimation and the rows the frame
// period leaves time to read; the exposure never exceeds the frame period.
#pragma once

#include <cstdint>

#include "kellib3/core/config.h"

namespace kellib3 {

struct CameraSettings {
  std::int64_t periodNs = 2'000'000;        // 0x400003/0
  std::int64_t exposureNs = 1'000'000;      // 0x400002
  std::int64_t shutterPeriodNs = 10'000;    // 0x400003/1
  std::int32_t shutterVoltage = 0;          // 0x400022, volts
  std::int32_t shutterCount = 1;            // 0x400041
  std::int32_t shutterMode = 41;            // 0x400042
  // Input window 0x400006: x, y and width in sensor pixels; height in
  // delivered rows (the window covers height * decimation sensor rows).
  std::int32_t x = 0, y = 0, width = 1280, height = 1024;
  std::int32_t decimation = 1;              // 0x400055
  std::int32_t gain = 1;                    // 0x40000a, linear factor
  std::int32_t blackLevel = 0;              // 0x40000d, 10-bit offset
  std::int32_t framesToRecord = 1000;       // 0x400007
  std::int32_t partitions = 2;              // 0x400009
  std::int32_t stopDelay = 0;               // 0x400054, frames
  std::int32_t startEvent = 33;             // 0x400004
  std::int32_t stopEvent = 4;               // 0x400005
  std::int32_t triggerEdge = 16;            // 0x400016
  std::int32_t syncSource = 20;             // 0x400017
  std::int32_t testMode = 2;                // 0x400011: 1 on, 2 off

  bool operator==(const CameraSettings&) const = default;
};

struct Range {
  std::int64_t min;
  std::int64_t max;
};

// Hardware constants of the virtual camera.
inline constexpr std::int64_t kRowTimeNs = 1900;
inline constexpr std::int64_t kReadoutOverheadNs = 1000;
inline constexpr std::int64_t kMinPeriodNs = 5000;
inline constexpr std::int64_t kMaxPeriodNs = 1'000'000'000;
inline constexpr std::int64_t kTimeStepNs = 10;
inline constexpr std::int64_t kMinExposureNs = 100;
inline constexpr std::int64_t kMemoryBytes = 4LL << 30;
inline constexpr std::int32_t kMinWindowWidth = 40;
inline constexpr std::int32_t kMinWindowHeight = 2;

CameraSettings defaultSettings(const Config& config);

// Brings every setting into its allowed range and step, in dependency order.
void normalize(CameraSettings& s, const Config& config);

Range periodRange();
Range exposureRange(const CameraSettings& s);
Range shutterPeriodRange(const CameraSettings& s);
std::int32_t maxWindowHeight(const CameraSettings& s, const Config& config);

// Frame geometry delivered to the host.
inline unsigned frameWidth(const CameraSettings& s) { return static_cast<unsigned>(s.width); }
inline unsigned frameHeight(const CameraSettings& s) { return static_cast<unsigned>(s.height); }

// Grabber memory: frame slots per partition (information 0x900003) and the
// frames a film can hold: partitions * (slots per partition - 1).
std::int32_t slotsPerPartition(const CameraSettings& s);
std::int32_t filmCapacity(const CameraSettings& s);

// Rounds to the nearest multiple of `step` inside [min, max].
std::int64_t snap(std::int64_t value, std::int64_t step, std::int64_t min, std::int64_t max);

}  // namespace kellib3
