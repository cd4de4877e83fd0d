// Where the moving things of the virtual camera's scene are at a given time,
// in sensor pixel coordinates, and which pixels of a sensor row they cover.
#pragma once

#include <array>
#include <cstdint>

namespace kellib3::scene {

// Pixels [begin, end) of a row; empty when begin >= end.
struct Span {
  int begin = 0;
  int end = 0;
};

struct Disc {
  double cx, cy, r;
};

// A straight fan blade from the hub centre outwards along (dx, dy).
struct Blade {
  double cx, cy, dx, dy, length, halfWidth;
};

struct Layout {
  std::array<Blade, 3> blades;
  Disc hub;
  Disc ball;
  Disc highlight;  // the glint on the ball
};

// The scene at time frameNumber * periodNs on a sensor of the given size: a
// fan turning at 20 revolutions per second and a ball bouncing across the
// picture.
Layout layoutAt(unsigned sensorWidth, unsigned sensorHeight, std::uint32_t frameNumber, std::int64_t periodNs);

// Pixels of sensor row `y` whose centres lie inside the shape.
Span discSpan(const Disc& d, int y);
Span bladeSpan(const Blade& b, int y);

}  // namespace kellib3::scene
