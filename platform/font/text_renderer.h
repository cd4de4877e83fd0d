// Drawing text into a 24- or 32-bit BGR(A) pixel buffer with a transparent
// background.
//
// Glyph edges are antialiased: each pixel the text touches is blended from
// its old value towards the text colour by the glyph's coverage, so full
// coverage gives exactly the colour and no coverage leaves the pixel as it
// was (on a cleared, black buffer: exactly black where there is no text).
// The fourth byte of 32-bit pixels is never written.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/font/font_face.h"
#include "platform/win/gdi_types.h"

namespace plat {

// Rows top-down, `stride` bytes apart.
struct PixelTarget {
  std::uint8_t* bits = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;
  int bytesPerPixel = 0;  // 3 or 4
};

// Draws one line of UTF-8 text whose box has its top-left corner at (x, y):
// the box is measure(text) wide and the font's height tall, and the baseline
// lies `ascent` below y. Like a drawn text cell, the ink is clipped to that
// box (and to the target). Answers the box's extent. Throws
// std::invalid_argument for a target that is not 24 or 32 bits per pixel, or
// whose rows do not fit its stride.
TextExtent drawText(const FontFace& font, const PixelTarget& target, int x, int y, COLORREF color,
                    std::string_view utf8);

}  // namespace plat
