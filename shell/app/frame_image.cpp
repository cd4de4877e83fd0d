#include "shell/app/frame_image.h"

QImage FrameImage(const plat::VideoFrame& frame) {
  if (frame.width <= 0 || frame.height <= 0 || frame.stride <= 0) return {};
  if (frame.bytes.size() < static_cast<std::size_t>(frame.stride) * static_cast<std::size_t>(frame.height)) return {};
  QImage::Format format;
  switch (frame.bitCount) {
    // Blue, green, red in memory.
    case 24: format = QImage::Format_BGR888; break;
    // Blue, green, red, spare: a little-endian 0xffRRGGBB word with the spare ignored.
    case 32: format = QImage::Format_RGB32; break;
    default: return {};
  }
  return QImage(frame.bytes.data(), frame.width, frame.height, frame.stride, format);
}
