// The texts of the frame information overlay: one cell per item, three cells
// to a row, built from the values the overlay shows for one frame.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Blend {

struct OverlayValues {
  std::int32_t frame = 0;
  std::int32_t filmLength = 0;
  std::int32_t period = 0;    // microseconds
  std::int32_t exposure = 0;  // microseconds or nanoseconds, as exposureInMicroseconds says
  bool exposureInMicroseconds = true;
  bool background = false;
  std::int32_t windowWidth = 0;
  std::int32_t windowHeight = 0;
  std::int32_t decimation = 0;
  std::int32_t gain = 0;
  std::int32_t black = 0;  // the camera's black level
  std::int32_t digitalGain = 0;
  bool whiteBalance = false;
  bool automaticBalance = false;
  bool gamma = false;
  std::int32_t red = 0, green = 0, blue = 0;
  std::int32_t levelBlack = 0, levelWhite = 0;  // the converter's levels
  bool shutter = false;
  std::int32_t shutterVoltage = 0;
  std::int32_t shutterCount = 0;
  std::int32_t shutterPeriod = 0;  // microseconds
};

// Six cells, or seven when the shutter is present. Cells of the first,
// second, fourth and fifth item are padded with spaces to 25 characters.
std::vector<std::string> OverlayCells(const OverlayValues& v);

}  // namespace Blend
