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

// Output size of a frame for these settings.
unsigned sceneFrameWidth(const SceneSettings& s);
unsigned sceneFrameHeight(const SceneSettings& s);

// Renders frame `frameNumber` (time = frameNumber * period) as 10-bit samples;
// `out` holds sceneFrameWidth * sceneFrameHeight samples. The top rows carry
// the frame number in the frame-number strip (frame_strip.h).
void renderScene(const SceneSettings& s, std::uint32_t frameNumber, std::span<std::uint16_t> out);

}  // namespace kellib3
