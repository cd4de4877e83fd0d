// The pictures the video renderer takes: uncompressed RGB24 or RGB32 video
// described by a VIDEOINFOHEADER. The camera also offers a stream type
// carrying its data header; the renderer has no use for that one, and
// refusing it makes the connection settle on the video type.
#pragma once

#include <cstddef>
#include <optional>

#include "platform/dshow/media_types.h"

namespace plat {

struct VideoFormat {
  LONG width = 0;
  LONG height = 0;  // always positive; see bottomUp
  WORD bitCount = 0;
  // Bytes from one row to the next. Rows are DWORD-aligned as in any DIB,
  // unless the format's image size says they are packed without padding.
  LONG stride = 0;
  bool bottomUp = true;  // a positive biHeight: the last row comes first
  std::size_t imageSize = 0;
  BITMAPINFOHEADER header{};  // as connected, with biSizeImage = imageSize
};

// Nullopt for any other type, or for a picture of no or absurd size.
std::optional<VideoFormat> videoFormatOf(const AM_MEDIA_TYPE& mt);

}  // namespace plat
