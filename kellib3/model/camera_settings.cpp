#include "kellib3/model/camera_settings.h"

#include <algorithm>

namespace kellib3 {

std::int64_t snap(std::int64_t value, std::int64_t step, std::int64_t min, std::int64_t max) {
  if (max < min) max = min;
  value = std::clamp(value, min, max);
  if (step > 1) {
    const std::int64_t base = min - min % step + (min % step ? step : 0);  // first step >= min
    const std::int64_t k = (value - base + step / 2) / step;
    std::int64_t snapped = base + std::max<std::int64_t>(k, 0) * step;
    if (snapped > max) snapped -= step;
    if (snapped < min) snapped = min;
    value = snapped;
  }
  return value;
}

CameraSettings defaultSettings(const Config& config) {
  CameraSettings s;
  s.width = static_cast<std::int32_t>(config.sensorWidth);
  s.height = static_cast<std::int32_t>(config.sensorHeight);
  normalize(s, config);
  return s;
}

Range periodRange() { return {kMinPeriodNs, kMaxPeriodNs}; }

Range exposureRange(const CameraSettings& s) {
  // The rows' transfer takes a little of every period.
  return {kMinExposureNs, std::max(kMinExposureNs, s.periodNs - s.height * kTimeStepNs)};
}

Range shutterPeriodRange(const CameraSettings& s) { return {kMinExposureNs, s.periodNs}; }

std::int32_t maxWindowHeight(const CameraSettings& s, const Config& config) {
  const auto bySensor = static_cast<std::int64_t>(config.sensorHeight) / s.decimation;
  const auto byPeriod = (s.periodNs - kReadoutOverheadNs) / kRowTimeNs;
  auto rows = std::min(bySensor, byPeriod);
  rows -= rows % 2;
  return static_cast<std::int32_t>(std::max<std::int64_t>(rows, kMinWindowHeight));
}

void normalize(CameraSettings& s, const Config& config) {
  const auto sensorW = static_cast<std::int64_t>(config.sensorWidth);
  const auto sensorH = static_cast<std::int64_t>(config.sensorHeight);
  s.decimation = static_cast<std::int32_t>(std::clamp(s.decimation, 1, 4));
  s.periodNs = snap(s.periodNs, kTimeStepNs, kMinPeriodNs, kMaxPeriodNs);

  s.width = static_cast<std::int32_t>(snap(s.width, 10, kMinWindowWidth, sensorW - sensorW % 10));
  s.x = static_cast<std::int32_t>(snap(s.x, 2, 0, sensorW - s.width));
  s.height = static_cast<std::int32_t>(snap(s.height, 2, kMinWindowHeight, maxWindowHeight(s, config)));
  s.y = static_cast<std::int32_t>(snap(s.y, 2, 0, sensorH - static_cast<std::int64_t>(s.height) * s.decimation));

  const auto e = exposureRange(s);
  s.exposureNs = snap(s.exposureNs, kTimeStepNs, e.min, e.max);
  const auto sp = shutterPeriodRange(s);
  s.shutterPeriodNs = snap(s.shutterPeriodNs, kTimeStepNs, sp.min, sp.max);
  s.shutterVoltage = std::clamp(s.shutterVoltage, 0, 800);
  s.shutterCount = std::clamp(s.shutterCount, 1, 16);
  s.gain = std::clamp(s.gain, 1, 16);
  s.blackLevel = std::clamp(s.blackLevel, 0, 255);
  s.partitions = std::clamp(s.partitions, 1, 8);
  s.framesToRecord = std::clamp(s.framesToRecord, 1, std::max(1, filmCapacity(s)));
  s.stopDelay = std::clamp(s.stopDelay, 0, 10000);
}

std::int32_t slotsPerPartition(const CameraSettings& s) {
  const std::int64_t frameBytes = std::max<std::int64_t>(1, static_cast<std::int64_t>(s.width) * s.height * 10 / 8);
  return static_cast<std::int32_t>(kMemoryBytes / frameBytes / std::max(1, s.partitions));
}

std::int32_t filmCapacity(const CameraSettings& s) {
  return std::max(0, s.partitions * (slotsPerPartition(s) - 1));
}

}  // namespace kellib3
