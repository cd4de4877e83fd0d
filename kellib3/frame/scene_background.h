// The scene's backdrop: a tiled floor with a fine grain, lighter towards the
// bottom of the sensor, tinted warm in colour.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "kellib3/frame/scene.h"
#include "kellib3/frame/scene_exposure.h"
#include "kellib3/frame/scene_sites.h"

namespace kellib3::scene {

class Background {
 public:
  explicit Background(const SceneSettings& s);

  // Exposed samples of sensor row `sensorY` across the input window; `w` are
  // the site weights of the output row's even and odd columns.
  void paintRow(unsigned sensorY, const std::array<Rgb, 2>& w, const Exposure& e, std::uint16_t* out) const;

 private:
  const SceneSettings& s_;
  unsigned tileShift_;
  // Base brightness plus grain along a sensor row; each row reads it from its
  // own pseudo-random offset, which avoids a per-pixel hash.
  std::vector<float> grain_;
};

}  // namespace kellib3::scene
