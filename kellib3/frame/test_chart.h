// The fixed test chart shown instead of the scene in test mode.
#pragma once

#include <cstdint>

#include "kellib3/frame/scene.h"

namespace kellib3::scene {

// Output row `row` (sensor row `sensorY`) of the chart as 10-bit samples,
// `width` samples from sensor column `sensorX`. The chart is digital: exposure,
// gain and black level do not touch it.
void renderChartRow(const SceneSettings& s, unsigned row, unsigned sensorY, std::uint16_t* out);

}  // namespace kellib3::scene
