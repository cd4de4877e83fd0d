#include "shell/app/video_sizing.h"

namespace VideoSizing {

int StretchFactor(int stretch, std::optional<long> decimation) {
  if (stretch == 0) return 1;
  if (!decimation || *decimation < 1) return 1;
  return static_cast<int>(*decimation);
}

std::optional<Size> WindowSize(Size native, int zoom, int factor, Size parent) {
  if (native.width <= 0 || native.height <= 0 || factor < 1) return std::nullopt;
  const long long W = native.width, H = native.height, f = factor;
  if (zoom > 0) {
    return Size{static_cast<int>(W * zoom / 100), static_cast<int>((H * zoom / 100) * f)};
  }
  if (zoom != kFit) return std::nullopt;
  const long long PW = parent.width, PH = parent.height;
  long long width = PW;
  long long height = (PW * H / W) * f;
  if (PH < height) {
    height = PH;
    width = PH * W / (H * f);
  }
  return Size{static_cast<int>(width), static_cast<int>(height)};
}

int CentredScroll(int content, int extent) { return extent < content ? (content - extent) / 2 : 0; }

}  // namespace VideoSizing
