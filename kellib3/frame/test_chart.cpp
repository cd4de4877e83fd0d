// Top half: a grey ramp from black at the left edge of the sensor to white at
// the right. Bottom half: eight full-intensity colour bars (white, yellow,
// cyan, green, magenta, red, blue, black).
#include "kellib3/frame/test_chart.h"

#include <cmath>

#include "kellib3/frame/scene_sites.h"

namespace kellib3::scene {
namespace {

constexpr Rgb kBars[8] = {{1, 1, 1}, {1, 1, 0}, {0, 1, 1}, {0, 1, 0}, {1, 0, 1}, {1, 0, 0}, {0, 0, 1}, {0, 0, 0}};

}  // namespace

void renderChartRow(const SceneSettings& s, unsigned row, unsigned sensorY, std::uint16_t* out) {
  const unsigned x0 = s.windowX;
  if (sensorY < s.sensorHeight / 2) {
    const std::uint64_t span = s.sensorWidth > 1 ? s.sensorWidth - 1 : 1;
    for (unsigned i = 0; i < s.windowWidth; ++i) out[i] = static_cast<std::uint16_t>((x0 + i) * 1023ull / span);
    return;
  }
  const auto weights = siteWeights(s.bayer, row);
  for (unsigned i = 0; i < s.windowWidth; ++i) {
    const Rgb& bar = kBars[(x0 + i) * 8ull / s.sensorWidth];
    out[i] = static_cast<std::uint16_t>(std::lround(seen(bar, weights[i % 2]) * 1023.0f));
  }
}

}  // namespace kellib3::scene
