// Measuring and drawing text into 24- and 32-bit pixel buffers.
#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

#include "platform/font/font_table.h"
#include "platform/font/gdi_font.h"
#include "platform/font/text_renderer.h"

namespace {

struct Buffer {
  Buffer(int w, int h, int p, std::uint8_t fill = 0)
      : width(w), height(h), bpp(p), bytes(static_cast<std::size_t>(w) * h * p, fill) {}
  plat::PixelTarget target() { return {bytes.data(), width, height, width * bpp, bpp}; }
  const std::uint8_t* at(int x, int y) const { return bytes.data() + (static_cast<std::size_t>(y) * width + x) * bpp; }
  int width, height, bpp;
  std::vector<std::uint8_t> bytes;
};

std::shared_ptr<const plat::FontFace> font(LONG height, LONG weight = FW_NORMAL) {
  LOGFONTW d{};
  d.lfHeight = height;
  d.lfWeight = weight;
  const HFONT h = CreateFontIndirectW(&d);
  auto face = plat::FontTable::instance().acquire(h);
  DeleteObject(h);
  return face;
}

TEST(TextMeasure, WidthGrowsWithTextHeightIsTheLine) {
  const auto f = font(-16);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->measure("").width, 0);
  EXPECT_EQ(f->measure("").height, f->metrics().height);
  const int one = f->measure("Окно").width, two = f->measure("Окно   :").width, three = f->measure("Окно   :640x480").width;
  EXPECT_GT(one, 0);
  EXPECT_LT(one, two);
  EXPECT_LT(two, three);
  EXPECT_EQ(f->measure("Окно   :640x480").height, f->metrics().height);
  // The pieces add up: no kerning, whole-pixel advances.
  EXPECT_EQ(f->measure("Окно").width + f->measure("   :640x480").width, three);
  // Bold and larger fonts take more room.
  EXPECT_GT(font(-16, FW_BOLD)->measure("Окно   :640x480").width, three);
  EXPECT_GT(font(-32)->measure("Окно   :640x480").width, three);
  // Broken UTF-8 still measures, one replacement per bad byte.
  EXPECT_EQ(f->measure("\xFF\xFE").width, 2 * f->measure("\xEF\xBF\xBD").width);
  // Negative heights size the characters, positive ones the whole line.
  EXPECT_EQ(font(-24)->pixelHeight(), 24);
  EXPECT_NEAR(font(24)->metrics().height, 24, 1);
  EXPECT_EQ(font(0)->pixelHeight(), plat::FontTable::kDefaultPixelHeight);
}

TEST(TextDrawing, InkStaysInTheTextBoxInTheTextColour) {
  const auto f = font(-18);
  const COLORREF color = RGB(200, 100, 50);
  for (int bpp : {3, 4}) {
    Buffer b(160, 40, bpp);
    const plat::TextExtent box = plat::drawText(*f, b.target(), 7, 5, color, "Кадр №:0123");
    EXPECT_EQ(box.width, f->measure("Кадр №:0123").width);
    int full = 0, inked = 0;
    for (int y = 0; y < b.height; ++y)
      for (int x = 0; x < b.width; ++x) {
        const std::uint8_t* px = b.at(x, y);
        const bool inside = x >= 7 && x < 7 + box.width && y >= 5 && y < 5 + box.height;
        if (bpp == 4) {
          EXPECT_EQ(px[3], 0) << "the fourth byte is never written";
        }
        if (!(px[0] | px[1] | px[2])) continue;
        ++inked;
        EXPECT_TRUE(inside) << x << "," << y;
        // On black, antialiased edges are the colour scaled down.
        EXPECT_LE(px[0], 50);
        EXPECT_LE(px[1], 100);
        EXPECT_LE(px[2], 200);
        EXPECT_NEAR(px[2], 4 * px[0], 4);
        if (px[0] == 50 && px[1] == 100 && px[2] == 200) ++full;
      }
    EXPECT_GT(full, 20) << "solid strokes are exactly the colour";
    EXPECT_GT(inked, full);
  }
}

TEST(TextDrawing, ClippedAtTheTargetEdgesAndRefusesOtherFormats) {
  const auto f = font(-20);
  Buffer whole(200, 40, 4), left(200, 40, 4);
  plat::drawText(*f, whole.target(), 0, 0, RGB(0, 255, 0), "WWW");
  // Half a text hanging off the left and top edges draws the part inside,
  // pixel for pixel as the whole text drawn there would.
  const int dx = 9, dy = 6;
  plat::drawText(*f, left.target(), -dx, -dy, RGB(0, 255, 0), "WWW");
  for (int y = 0; y + dy < 40; ++y)
    for (int x = 0; x + dx < 200; ++x) ASSERT_EQ(left.at(x, y)[1], whole.at(x + dx, y + dy)[1]) << x << "," << y;
  // Past the right and bottom edges nothing is written out of the buffer
  // (the sanitizer build checks the memory).
  Buffer small(10, 5, 3);
  plat::drawText(*f, small.target(), 4, -8, RGB(0, 255, 0), "WWW");
  int inked = 0;
  for (std::uint8_t v : small.bytes) inked += v != 0;
  EXPECT_GT(inked, 0);

  Buffer grey(10, 10, 1);
  EXPECT_THROW(plat::drawText(*f, grey.target(), 0, 0, 0xFFFFFF, "x"), std::invalid_argument);
  plat::PixelTarget bad = whole.target();
  bad.stride = 10;
  EXPECT_THROW(plat::drawText(*f, bad, 0, 0, 0xFFFFFF, "x"), std::invalid_argument);
}

}  // namespace
