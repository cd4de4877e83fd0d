// What one sensor site sees of a colour: for a Bayer sensor the channel of its
// mosaic position, for a monochrome one the luminance.
#pragma once

#include <array>

namespace kellib3::scene {

struct Rgb {
  float r, g, b;
};

// Weights of (r, g, b) for the even and the odd columns of output row `row`.
// The mosaic follows output coordinates: even row, odd column red; odd row,
// even column blue; the other two green.
inline std::array<Rgb, 2> siteWeights(bool bayer, unsigned row) {
  if (!bayer) {
    constexpr Rgb luma{0.299f, 0.587f, 0.114f};
    return {luma, luma};
  }
  constexpr Rgb red{1, 0, 0}, green{0, 1, 0}, blue{0, 0, 1};
  return row % 2 == 0 ? std::array<Rgb, 2>{green, red} : std::array<Rgb, 2>{blue, green};
}

inline float seen(const Rgb& c, const Rgb& w) { return c.r * w.r + c.g * w.g + c.b * w.b; }

}  // namespace kellib3::scene
