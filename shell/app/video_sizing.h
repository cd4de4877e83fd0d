// The video window's size from the picture's native size, the zoom and the
// decimation stretch, and how the camera view scrolls it: integer arithmetic
// in the order the window has always used, so sizes match to the pixel.
#pragma once
#include <optional>

namespace VideoSizing {

// Zoom value meaning "fit the picture into the camera view".
inline constexpr int kFit = -1;

struct Size {
  int width = 0;
  int height = 0;
  bool operator==(const Size&) const = default;
};

// The vertical stretch factor: 1 without stretch; otherwise the camera's
// decimation, or 1 when the camera has no such option (a factor of 0 would
// hide the picture) or reports no positive value.
int StretchFactor(int stretch, std::optional<long> decimation);

// `native` picture W x H, zoom `zoom` (percent > 0, or kFit), stretch factor
// `factor`, parent client size `parent`. Nothing when the picture has no
// size or the zoom is neither positive nor kFit.
std::optional<Size> WindowSize(Size native, int zoom, int factor, Size parent);

// The scroll position that shows the middle of `content` in a view of
// `extent`: half the overhang, or 0 when it fits.
int CentredScroll(int content, int extent);

}  // namespace VideoSizing
