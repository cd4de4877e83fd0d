// The scale of a scalar option's slider. A range wider than 1500 steps is
// shown on the quadratic scale v = 2 p^2, so the thumb is fine near the low
// end, where short times live, and coarse far up.
#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>

namespace SliderScale {

inline constexpr std::int64_t kWidestLinearRange = 1500;

struct Layout {
  bool linear = true;
  int minimum = 0;
  int maximum = 0;
  int page = 0;
  int position = 0;
};

// The slider position of `value` on the quadratic scale (negative values
// sit at 0).
inline int QuadraticPosition(std::int64_t value) {
  return static_cast<int>(std::sqrt(std::max(0.0, static_cast<double>(value) * 0.5)));
}

inline std::int32_t QuadraticValue(int position) {
  return static_cast<std::int32_t>(std::min<std::int64_t>(2LL * position * position, INT32_MAX));
}

inline Layout For(std::int32_t min, std::int32_t max, std::int32_t value) {
  if (static_cast<std::int64_t>(max) - min > kWidestLinearRange) {
    const int top = QuadraticPosition(max);
    return {false, QuadraticPosition(min), top, top / 10, QuadraticPosition(value)};
  }
  return {true, min, max, max / 10, value};
}

}  // namespace SliderScale
