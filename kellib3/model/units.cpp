#include "kellib3/model/units.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "filter/hardware/kellib3.h"

namespace kellib3 {
namespace {

constexpr std::int64_t kNsPerSecond = 1'000'000'000;

std::int64_t factor(std::uint32_t unit) {
  switch (unit) {
    case KELLIB3_UNIT_US: return 1000;
    case KELLIB3_UNIT_MS: return 1'000'000;
    default: return 1;
  }
}

std::int32_t saturate(std::int64_t v) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

// Floor, not truncation: a value and its range's ends must round the same
// way, or a value could read below its own minimum.
std::int64_t floorDiv(std::int64_t v, std::int64_t f) { return v / f - (v % f < 0 ? 1 : 0); }

std::int64_t rateOf(std::int64_t periodNs) {
  return static_cast<std::int64_t>(std::llround(static_cast<double>(kNsPerSecond) / static_cast<double>(std::max<std::int64_t>(1, periodNs))));
}

}  // namespace

bool acceptsUnit(Quantity q, std::uint32_t unit) {
  switch (q) {
    case Quantity::Plain: return unit == KELLIB3_UNIT_NONE;
    case Quantity::Frames: return unit == KELLIB3_UNIT_NONE || unit == KELLIB3_UNIT_FRAMES;
    case Quantity::Time: return unit == KELLIB3_UNIT_NS || unit == KELLIB3_UNIT_US || unit == KELLIB3_UNIT_MS;
    case Quantity::Rate: return acceptsUnit(Quantity::Time, unit) || unit == KELLIB3_UNIT_FPS;
    case Quantity::Volt: return unit == KELLIB3_UNIT_VOLT;
  }
  return false;
}

std::optional<std::uint32_t> nextUnit(Quantity q, std::uint32_t after) {
  static constexpr std::array<std::uint32_t, 4> kTimes{KELLIB3_UNIT_NS, KELLIB3_UNIT_US, KELLIB3_UNIT_MS, KELLIB3_UNIT_FPS};
  switch (q) {
    case Quantity::Plain:
      if (after == 0) return 0u;
      return std::nullopt;
    case Quantity::Frames:
      if (after == 0) return KELLIB3_UNIT_FRAMES;
      return std::nullopt;
    case Quantity::Volt:
      if (after == 0) return KELLIB3_UNIT_VOLT;
      return std::nullopt;
    case Quantity::Time:
    case Quantity::Rate: {
      const std::size_t count = q == Quantity::Rate ? 4 : 3;
      if (after == 0) return kTimes[0];
      for (std::size_t i = 0; i + 1 < count; ++i)
        if (kTimes[i] == after) return kTimes[i + 1];
      return std::nullopt;
    }
  }
  return std::nullopt;
}

std::int64_t toNative(std::uint32_t unit, std::int64_t value) {
  if (unit == KELLIB3_UNIT_FPS) return value <= 0 ? std::numeric_limits<std::int64_t>::max() : rateOf(value);
  return value * factor(unit);
}

std::int32_t fromNative(std::uint32_t unit, std::int64_t native) {
  if (unit == KELLIB3_UNIT_FPS) return saturate(rateOf(native));
  return saturate(floorDiv(native, factor(unit)));
}

std::pair<std::int32_t, std::int32_t> rangeIn(std::uint32_t unit, Range native) {
  if (unit == KELLIB3_UNIT_FPS)
    return {saturate(std::max<std::int64_t>(1, rateOf(native.max))), saturate(rateOf(native.min))};
  return {fromNative(unit, native.min), fromNative(unit, native.max)};
}

std::int64_t nativeDirection(std::uint32_t unit) { return unit == KELLIB3_UNIT_FPS ? -1 : 1; }

std::optional<std::int64_t> nativePerUnit(std::uint32_t unit) {
  if (unit == KELLIB3_UNIT_FPS) return std::nullopt;
  return factor(unit);
}

}  // namespace kellib3
