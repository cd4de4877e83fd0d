#include "kellib3/frame/scene_background.h"

#include <algorithm>
#include <bit>

namespace kellib3::scene {
namespace {

constexpr Rgb kTint{1.0f, 0.9f, 0.75f};
constexpr unsigned kRowShifts = 1024;

std::uint32_t mix(std::uint32_t h) {
  h ^= h >> 16;
  h *= 0x7FEB352Du;
  h ^= h >> 15;
  h *= 0x846CA68Bu;
  h ^= h >> 16;
  return h;
}

}  // namespace

Background::Background(const SceneSettings& s)
    : s_(s),
      tileShift_(unsigned(std::countr_zero(std::bit_floor(std::max(8u, std::min(s.sensorWidth, s.sensorHeight) / 12))))),
      grain_(s.sensorWidth + kRowShifts) {
  for (std::size_t i = 0; i < grain_.size(); ++i) {
    grain_[i] = 0.42f + float(mix(std::uint32_t(i)) >> 24) * (0.1f / 255.0f);
  }
}

void Background::paintRow(unsigned sensorY, const std::array<Rgb, 2>& w, const Exposure& e, std::uint16_t* out) const {
  const float shade = (0.8f + 0.2f * (float(sensorY) + 0.5f) / float(s_.sensorHeight)) * e.scale();
  const float k0 = seen(kTint, w[0]) * shade;
  const float kStep = seen(kTint, w[1]) * shade - k0;
  const std::uint32_t yTile = (sensorY >> tileShift_) & 1u;
  const float* grain = grain_.data() + s_.windowX + (mix(sensorY) % kRowShifts);
  const unsigned x0 = s_.windowX;
  const unsigned shift = tileShift_;
  // Straight-line arithmetic only, so the loop vectorises.
  for (unsigned i = 0, n = s_.windowWidth; i < n; ++i) {
    const float tile = float(int((((x0 + i) >> shift) & 1u) ^ yTile));
    const float k = k0 + kStep * float(int(i & 1u));
    out[i] = e.sample((grain[i] + 0.16f * tile) * k);
  }
}

}  // namespace kellib3::scene
