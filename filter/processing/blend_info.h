// The overlay's drawing side: an off-screen bitmap of the output frame's size
// into which text cells are drawn, and the copy of the drawn text into an
// output frame.
//
// The bitmap's rows are packed (width x bytes per pixel), exactly like the
// output samples it is blended into, so bitmap and frame pixels pair up
// whatever the width.
//
// Bitmap, composing and blending belong to the streaming thread (the pin
// calls them under its lock); an internal lock keeps them consistent even
// when a media-type change comes from another thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "platform/dshow/media_types.h"
#include "platform/font/bitmap.h"

namespace Blend {

class BlendInfo {
 public:
  BlendInfo() = default;
  BlendInfo(const BlendInfo&) = delete;
  BlendInfo& operator=(const BlendInfo&) = delete;

  // Copies the drawn text into `frame` (`frameBytes` long, the bitmap's
  // format). Without flip, a bitmap pixel with any non-zero colour byte
  // replaces the frame pixel's three colour bytes. With flip, bitmap rows are
  // taken from the last one up, so the text reads upright in a bottom-up
  // file, and each non-zero bitmap byte replaces its frame byte. Rows that
  // do not fit in `frameBytes` are left out.
  virtual void Blend(std::uint8_t* frame, std::size_t frameBytes, bool flip);
  // Draws `text` as a single cell; derived overlays compose their own text.
  virtual void Compose(const char* text, int frame);
  virtual ~BlendInfo() = default;

  // Replaces the bitmap: `height` negative for a top-down bitmap, as the pin
  // hands it. False, with a zero-sized bitmap that draws nothing, when the
  // pixels are not 24 or 32 bits on one plane or a size is out of range.
  bool PrepareBitmap(int width, int height, int planes, int bitsPerPixel);
  bool PrepareBitmap(const BITMAP& description) {
    return PrepareBitmap(description.bmWidth, description.bmHeight, description.bmPlanes, description.bmBitsPixel);
  }

  // The recorded description (bits pointer null) and the text block's
  // rectangle of the last Compose.
  BITMAP Description() const;
  RECT TextRect() const;

 protected:
  // Clears the bitmap and draws `cells` three to a row in the overlay font
  // and colour at the overlay placement of the save and overlay settings.
  void DrawCells(const std::vector<std::string>& cells);

 private:
  mutable std::mutex mutex_;
  std::vector<std::uint8_t> bits_;
  BITMAP bitmap_{};
  RECT textRect_{};
};

}  // namespace Blend
