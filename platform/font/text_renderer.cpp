#include "platform/font/text_renderer.h"

#include <algorithm>
#include <stdexcept>

namespace plat {
namespace {

void check(const PixelTarget& t) {
  if (t.bytesPerPixel != 3 && t.bytesPerPixel != 4)
    throw std::invalid_argument("text can be drawn only into 24- or 32-bit pixels");
  if (t.width < 0 || t.height < 0 || (t.width > 0 && t.height > 0 && !t.bits) ||
      t.stride < t.width * t.bytesPerPixel)
    throw std::invalid_argument("the pixel buffer's rows do not fit its size");
}

std::uint8_t mix(std::uint8_t old, std::uint8_t color, unsigned coverage) {
  return static_cast<std::uint8_t>((color * coverage + old * (255u - coverage) + 127u) / 255u);
}

}  // namespace

TextExtent drawText(const FontFace& font, const PixelTarget& target, int x, int y, COLORREF color,
                    std::string_view utf8) {
  check(target);
  const TextExtent extent = font.measure(utf8);
  // Clip rectangle: the text's box within the target.
  // In 64 bits, so positions far outside the target cannot overflow.
  const long long left64 = x, top64 = y;
  if (left64 >= target.width || top64 >= target.height || left64 + extent.width <= 0 ||
      top64 + extent.height <= 0)
    return extent;
  const int clipLeft = std::max(x, 0), clipTop = std::max(y, 0);
  const int clipRight = static_cast<int>(std::min<long long>(left64 + extent.width, target.width));
  const int clipBottom = static_cast<int>(std::min<long long>(top64 + extent.height, target.height));
  if (clipLeft >= clipRight || clipTop >= clipBottom) return extent;

  const std::uint8_t bgr[3] = {static_cast<std::uint8_t>((color >> 16) & 0xFF),
                               static_cast<std::uint8_t>((color >> 8) & 0xFF),
                               static_cast<std::uint8_t>(color & 0xFF)};
  const int baseline = y + font.metrics().ascent;
  font.forEachGlyph(utf8, [&](const GlyphImage& g, int pen) {
    const int left = x + pen + g.left, top = baseline - g.top;
    const int c0 = std::max(clipLeft - left, 0), c1 = std::min(clipRight - left, g.width);
    const int r0 = std::max(clipTop - top, 0), r1 = std::min(clipBottom - top, g.rows);
    for (int r = r0; r < r1; ++r) {
      const std::uint8_t* cover = g.coverage.data() + static_cast<std::size_t>(r) * g.width;
      std::uint8_t* row = target.bits + static_cast<std::ptrdiff_t>(top + r) * target.stride;
      for (int c = c0; c < c1; ++c) {
        const unsigned a = cover[c];
        if (a == 0) continue;
        std::uint8_t* px = row + static_cast<std::ptrdiff_t>(left + c) * target.bytesPerPixel;
        for (int k = 0; k < 3; ++k) px[k] = mix(px[k], bgr[k], a);
      }
    }
  });
  return extent;
}

}  // namespace plat
