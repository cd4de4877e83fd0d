// Turns a reflectance into a 10-bit sample: proportional to exposure and gain,
// plus the black level, clamped to 0..1023.
#pragma once

#include <algorithm>
#include <cstdint>

#include "kellib3/frame/scene.h"

namespace kellib3::scene {

class Exposure {
 public:
  // Reflectance 1 reaches full scale at 1 ms exposure and gain 1, so the
  // background (about 0.45) is near mid-grey at half a 2 ms period.
  explicit Exposure(const SceneSettings& s)
      : scale_(float(std::min(1023.0 * double(s.exposureNs) / 1e6 * s.gain, 1e6))),
        black_(std::clamp(s.blackLevel, -2048, 2048)) {}

  float scale() const { return scale_; }

  // `signal` is reflectance times scale(). The black level is added after
  // rounding so it shifts every sample by exactly its value; the signal is
  // limited before the conversion to int.
  std::uint16_t sample(float signal) const {
    const int s = int(std::min(signal + 0.5f, 2048.0f));
    return static_cast<std::uint16_t>(std::clamp(s + black_, 0, 1023));
  }

 private:
  float scale_;
  int black_;
};

}  // namespace kellib3::scene
