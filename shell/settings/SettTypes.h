// The payloads of the setting values: plain 32-bit numbers, one struct per
// kind, each in its own namespace of Sett.
#pragma once
#include <cstdint>

namespace Sett {

namespace Scalar {
struct Value {
  std::int32_t value = 0;
  std::int32_t unit = 0;
  bool operator==(const Value&) const = default;
};
}  // namespace Scalar

namespace Enum {
struct Value {
  std::int32_t value = 0;  // an item id of the option
  bool operator==(const Value&) const = default;
};
}  // namespace Enum

namespace Rect {
struct Value {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  bool operator==(const Value&) const = default;
};
}  // namespace Rect

namespace WB {
struct Value {
  std::int32_t enabled = 0;
  std::int32_t automatic = 1;
  std::int32_t red = 0;
  std::int32_t green = 0;
  std::int32_t blue = 0;
  bool operator==(const Value&) const = default;
};
}  // namespace WB

namespace Summation {
struct Value {
  std::int32_t value = 0;
  bool operator==(const Value&) const = default;
};
}  // namespace Summation

}  // namespace Sett
