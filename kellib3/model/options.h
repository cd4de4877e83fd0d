// The camera's options: which exist, their kind, units and values, and how
// reading and writing them acts on a controller.
#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "kellib3/core/config.h"
#include "kellib3/model/units.h"

namespace kellib3 {

class Controller;

enum class OptionKind { Scalar, Enum, Rect };

struct OptionSpec {
  std::uint32_t id;
  std::uint32_t index;
  OptionKind kind;
  Quantity quantity;               // scalars
  std::int64_t step;               // native step of scalars
  std::vector<std::int32_t> values;  // enumerated values offered
  bool shutterOnly;
};

// The option at (id, index) on a camera with this configuration, or null.
const OptionSpec* findOption(std::uint32_t id, std::uint32_t index, const Config& config);

using Rect = std::array<std::int32_t, 4>;  // x, y, width, height

// Each function raises LibError for a unit, value or kind the option refuses.
std::int32_t getScalar(const Controller& c, const OptionSpec& o, std::uint32_t unit, std::int64_t nowNs);
void setScalar(Controller& c, const OptionSpec& o, std::int32_t value, std::uint32_t unit, std::int64_t nowNs);
std::pair<std::int32_t, std::int32_t> scalarRange(const Controller& c, const OptionSpec& o, std::uint32_t unit,
                                                  std::int64_t nowNs);
void relScalar(Controller& c, const OptionSpec& o, std::int32_t delta, std::uint32_t unit, std::int64_t nowNs);

std::int32_t getEnum(const Controller& c, const OptionSpec& o);
void setEnum(Controller& c, const OptionSpec& o, std::int32_t value, std::int64_t nowNs);
bool offersValue(const OptionSpec& o, std::int32_t value);
// True for settings the camera can be in: each value inside its range and
// step, each enumerated value one its option offers.
bool isPossible(const CameraSettings& s, const Config& config);

Rect getRect(const Controller& c);
void setRect(Controller& c, const Rect& r, std::int64_t nowNs);
Rect minRect();
Rect maxRect(const Controller& c);

}  // namespace kellib3
