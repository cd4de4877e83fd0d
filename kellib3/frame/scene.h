// The virtual camera's picture: a deterministic fast-moving scene rendered for
// any frame number from the settings in force when that frame was taken.
#pragma once

#include <cstdint>
#include <span>

namespace kellib3 {

struct SceneSettings {
  unsigned sensorWidth = 1280;   // full sensor
  unsigned sensorHeight = 1024;
  unsigned windowX = 0;          // input window on the sensor
  unsigned windowY = 0;
  unsigned windowWidth = 1280;
  unsigned windowHeight = 1024;
  unsigned decimation = 1;       // keep every n-th row of the window
  bool bayer = false;            // mosaic of a coloured scene: even row, odd column red; odd row, even column blue; others green
  std::int64_t exposureNs = 1000000;
  std::int64_t periodNs = 2000000;
  double gain = 1.0;             // linear analogue gain
  int blackLevel = 0;            // 10-bit offset added to every sample
  bool testPattern = false;      // a fixed test chart instead of the scene
};

// Output size of a frame for these settings: the window's width, and its
// height divided by the decimation (std::invalid_argument for decimation 0).
unsigned sceneFrameWidth(const SceneSettings& s);
unsigned sceneFrameHeight(const SceneSettings& s);

// Renders frame `frameNumber` (time = frameNumber * period) as 10-bit samples;
// `out` holds sceneFrameWidth * sceneFrameHeight samples. The top rows carry
// the frame number in the frame-number strip (frame_strip.h).
// The scene lives in sensor coordinates, so a window shows that part of the
// same picture; output row r is sensor row windowY + r * decimation. The
// mosaic follows output coordinates, so the converter always finds red at
// even row / odd column. Brightness is proportional to exposure and gain (a
// reflectance of 1 reaches full scale at 1 ms and gain 1) plus the black level,
// clamped to 0..1023. The test chart is independent of time, exposure, gain and
// black level. Throws std::invalid_argument for a window outside the sensor,
// decimation 0 or more than the window height, negative exposure or period, a
// gain that is negative or not finite, or a short `out`.
void renderScene(const SceneSettings& s, std::uint32_t frameNumber, std::span<std::uint16_t> out);

}  // namespace kellib3
