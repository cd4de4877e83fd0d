#include "kellib3/model/options.h"

#include <algorithm>
#include <string>

#include "kellib3/core/lib_error.h"
#include "kellib3/grabber/controller.h"

namespace kellib3 {
namespace {

enum : std::uint32_t {
  kExposure = 0x400002, kPeriod = 0x400003, kStartEvent = 0x400004, kStopEvent = 0x400005,
  kWindow = 0x400006, kFrames = 0x400007, kPartitions = 0x400009, kGain = 0x40000a,
  kBlack = 0x40000d, kTestMode = 0x400011, kEdge = 0x400016, kSync = 0x400017,
  kFrameRange = 0x400020, kVoltage = 0x400022, kShutterCount = 0x400041, kShutterMode = 0x400042,
  kStopDelay = 0x400054, kDecimation = 0x400055,
};

const std::vector<OptionSpec>& table() {
  static const std::vector<OptionSpec> t = {
      {kExposure, 0, OptionKind::Scalar, Quantity::Time, kTimeStepNs, {}, false},
      {kPeriod, 0, OptionKind::Scalar, Quantity::Rate, kTimeStepNs, {}, false},
      {kPeriod, 1, OptionKind::Scalar, Quantity::Time, kTimeStepNs, {}, true},
      {kStartEvent, 0, OptionKind::Enum, Quantity::Plain, 1, {4, 5, 33}, false},
      {kStopEvent, 0, OptionKind::Enum, Quantity::Plain, 1, {4, 5, 37}, false},
      {kWindow, 0, OptionKind::Rect, Quantity::Plain, 1, {}, false},
      {kFrames, 0, OptionKind::Scalar, Quantity::Frames, 1, {}, false},
      {kPartitions, 0, OptionKind::Scalar, Quantity::Plain, 1, {}, false},
      {kGain, 0, OptionKind::Scalar, Quantity::Plain, 1, {}, false},
      {kBlack, 0, OptionKind::Scalar, Quantity::Plain, 1, {}, false},
      {kTestMode, 0, OptionKind::Enum, Quantity::Plain, 1, {1, 2}, false},
      {kEdge, 0, OptionKind::Enum, Quantity::Plain, 1, {16, 17}, false},
      {kSync, 0, OptionKind::Enum, Quantity::Plain, 1, {20, 21}, false},
      {kFrameRange, 0, OptionKind::Scalar, Quantity::Plain, 1, {}, false},
      {kVoltage, 0, OptionKind::Scalar, Quantity::Volt, 1, {}, true},
      {kShutterCount, 0, OptionKind::Scalar, Quantity::Plain, 1, {}, true},
      {kShutterMode, 0, OptionKind::Enum, Quantity::Plain, 1, {40, 41, 42}, true},
      {kStopDelay, 0, OptionKind::Scalar, Quantity::Plain, 1, {}, false},
      {kDecimation, 0, OptionKind::Scalar, Quantity::Plain, 1, {}, false},
  };
  return t;
}

std::string hex(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%X", v);
  return buf;
}

void requireKind(const OptionSpec& o, OptionKind kind, const char* what) {
  if (o.kind != kind) KL3_RAISE(ErrorCode::InvalidArgument, 0, "option " + hex(o.id) + " is not " + what);
}

void requireUnit(const OptionSpec& o, std::uint32_t unit) {
  requireKind(o, OptionKind::Scalar, "a scalar");
  if (!acceptsUnit(o.quantity, unit))
    KL3_RAISE(ErrorCode::UnitNotSupported, 0, "option " + hex(o.id) + " does not accept unit " + std::to_string(unit));
}

// Native value and range of a settings-backed scalar.
std::int64_t* field(CameraSettings& s, const OptionSpec& o) {
  switch (o.id) {
    case kExposure: return &s.exposureNs;
    case kPeriod: return o.index == 0 ? &s.periodNs : &s.shutterPeriodNs;
    default: return nullptr;
  }
}

std::int32_t* intField(CameraSettings& s, const OptionSpec& o) {
  switch (o.id) {
    case kFrames: return &s.framesToRecord;
    case kPartitions: return &s.partitions;
    case kGain: return &s.gain;
    case kBlack: return &s.blackLevel;
    case kVoltage: return &s.shutterVoltage;
    case kShutterCount: return &s.shutterCount;
    case kStopDelay: return &s.stopDelay;
    case kDecimation: return &s.decimation;
    case kStartEvent: return &s.startEvent;
    case kStopEvent: return &s.stopEvent;
    case kTestMode: return &s.testMode;
    case kEdge: return &s.triggerEdge;
    case kSync: return &s.syncSource;
    case kShutterMode: return &s.shutterMode;
    default: return nullptr;
  }
}

std::int64_t nativeValue(const Controller& c, const OptionSpec& o, std::int64_t) {
  if (o.id == kFrameRange) return c.frameOption();
  CameraSettings s = c.settings();
  if (auto* f = field(s, o)) return *f;
  return *intField(s, o);
}

Range nativeRange(const Controller& c, const OptionSpec& o) {
  const auto& s = c.settings();
  switch (o.id) {
    case kExposure: return exposureRange(s);
    case kPeriod: return o.index == 0 ? periodRange() : shutterPeriodRange(s);
    case kFrames: return {1, std::max(1, filmCapacity(s))};
    case kPartitions: return {1, 8};
    case kGain: return {1, 16};
    case kBlack: return {0, 255};
    case kVoltage: return {0, 800};
    case kShutterCount: return {1, 16};
    case kStopDelay: return {0, 10000};
    case kDecimation: return {1, 4};
    default: return {0, 0};
  }
}

void setNative(Controller& c, const OptionSpec& o, std::int64_t native, std::int64_t nowNs) {
  if (o.id == kFrameRange) {
    c.setFrameOption(static_cast<std::int32_t>(std::clamp<std::int64_t>(native, INT32_MIN, INT32_MAX)), nowNs);
    return;
  }
  if (o.id == kPartitions) {
    c.setPartitions(static_cast<std::int32_t>(std::clamp<std::int64_t>(native, 1, 8)), nowNs);
    return;
  }
  CameraSettings s = c.settings();
  const auto r = nativeRange(c, o);
  const auto v = snap(native, o.step, r.min, r.max);
  if (auto* f = field(s, o)) *f = v;
  else *intField(s, o) = static_cast<std::int32_t>(v);
  c.changeSettings(s, nowNs);
}

}  // namespace

const OptionSpec* findOption(std::uint32_t id, std::uint32_t index, const Config& config) {
  for (const auto& o : table())
    if (o.id == id && o.index == index && (!o.shutterOnly || config.shutter)) return &o;
  return nullptr;
}

std::int32_t getScalar(const Controller& c, const OptionSpec& o, std::uint32_t unit, std::int64_t nowNs) {
  requireUnit(o, unit);
  return fromNative(unit, nativeValue(c, o, nowNs));
}

std::pair<std::int32_t, std::int32_t> scalarRange(const Controller& c, const OptionSpec& o, std::uint32_t unit,
                                                  std::int64_t nowNs) {
  requireUnit(o, unit);
  if (o.id == kFrameRange) return c.frameRange(nowNs);
  return rangeIn(unit, nativeRange(c, o));
}

void setScalar(Controller& c, const OptionSpec& o, std::int32_t value, std::uint32_t unit, std::int64_t nowNs) {
  requireUnit(o, unit);
  setNative(c, o, toNative(unit, value), nowNs);
}

void relScalar(Controller& c, const OptionSpec& o, std::int32_t delta, std::uint32_t unit, std::int64_t nowNs) {
  requireUnit(o, unit);
  const auto before = nativeValue(c, o, nowNs);
  // A linear unit moves the native value by whole units, so the value read
  // moves by exactly `delta` whatever fraction of a unit it carried.
  if (const auto perUnit = nativePerUnit(unit)) {
    setNative(c, o, before + static_cast<std::int64_t>(delta) * *perUnit, nowNs);
  } else {
    const auto shown = static_cast<std::int64_t>(fromNative(unit, before));
    setNative(c, o, toNative(unit, shown + delta), nowNs);
  }
  // A step smaller than the unit's resolution still moves one hardware step.
  if (delta != 0 && nativeValue(c, o, nowNs) == before) {
    const std::int64_t dir = (delta > 0 ? 1 : -1) * nativeDirection(unit);
    setNative(c, o, before + dir * o.step, nowNs);
  }
}

std::int32_t getEnum(const Controller& c, const OptionSpec& o) {
  requireKind(o, OptionKind::Enum, "enumerated");
  CameraSettings s = c.settings();
  return *intField(s, o);
}

bool offersValue(const OptionSpec& o, std::int32_t value) {
  return o.kind == OptionKind::Enum && std::find(o.values.begin(), o.values.end(), value) != o.values.end();
}

bool isPossible(const CameraSettings& s, const Config& config) {
  CameraSettings normalized = s;
  normalize(normalized, config);
  if (!(normalized == s)) return false;
  for (const auto& o : table()) {
    if (o.kind == OptionKind::Enum && !offersValue(o, *intField(normalized, o))) return false;
  }
  return true;
}

void setEnum(Controller& c, const OptionSpec& o, std::int32_t value, std::int64_t nowNs) {
  requireKind(o, OptionKind::Enum, "enumerated");
  if (!offersValue(o, value))
    KL3_RAISE(ErrorCode::OutOfRange, 0, "option " + hex(o.id) + " does not offer the value " + std::to_string(value));
  CameraSettings s = c.settings();
  *intField(s, o) = value;
  c.changeSettings(s, nowNs);
}

Rect getRect(const Controller& c) {
  const auto& s = c.settings();
  return {s.x, s.y, s.width, s.height};
}

void setRect(Controller& c, const Rect& r, std::int64_t nowNs) {
  CameraSettings s = c.settings();
  s.x = r[0];
  s.y = r[1];
  s.width = r[2];
  s.height = r[3];
  c.changeSettings(s, nowNs);
}

Rect minRect() { return {0, 0, kMinWindowWidth, kMinWindowHeight}; }

Rect maxRect(const Controller& c) {
  const auto& s = c.settings();
  const auto& cfg = c.config();
  const auto sensorW = static_cast<std::int32_t>(cfg.sensorWidth);
  const auto sensorH = static_cast<std::int32_t>(cfg.sensorHeight);
  return {sensorW - s.width, sensorH - s.height * s.decimation, sensorW - sensorW % 10, maxWindowHeight(s, cfg)};
}

}  // namespace kellib3
