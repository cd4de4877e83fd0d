// The data of the three option kinds, as cached and as exchanged with the
// hardware library.
#pragma once

#include <cstdint>

namespace Options {

namespace Scalar {
struct Value {
  std::int32_t value = 0;
  std::uint32_t unit = 0;  // unit identifier of the library's unit list
  friend bool operator==(const Value&, const Value&) = default;
};
}  // namespace Scalar

namespace Enum {
struct Value {
  std::int32_t value = 0;  // value identifier of the library's value list
  friend bool operator==(const Value&, const Value&) = default;
};
}  // namespace Enum

namespace Rect {
struct Value {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  friend bool operator==(const Value&, const Value&) = default;
};
}  // namespace Rect

}  // namespace Options
