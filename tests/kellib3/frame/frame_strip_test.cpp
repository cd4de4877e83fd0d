// The frame number must come back from every picture the converter can make
// of a frame: plain 8-bit grey at stride 3 or 4, 2x2-summed half size, and a
// demosaiced colour picture (simulated here as the converter describes it).
#include "kellib3/frame/frame_strip.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "kellib3/frame/scene.h"

namespace kellib3 {
namespace {

struct Picture {
  std::vector<std::uint8_t> bytes;
  unsigned width, height, stride;
  std::optional<std::uint32_t> read() const {
    return readFrameStrip(bytes, width, height, stride, std::size_t(width) * stride);
  }
};

std::vector<std::uint16_t> frame(std::uint32_t number, unsigned w, unsigned h, bool bayer) {
  SceneSettings s;
  s.bayer = bayer;
  s.windowWidth = s.sensorWidth = w;
  s.windowHeight = s.sensorHeight = h;
  std::vector<std::uint16_t> out(std::size_t(w) * h);
  renderScene(s, number, out);
  return out;
}

// Sample >> 2 in the first three bytes; a fourth byte (stride 4) holds junk.
Picture grey(const std::vector<std::uint16_t>& f, unsigned w, unsigned h, unsigned stride) {
  Picture p{std::vector<std::uint8_t>(std::size_t(w) * h * stride, 0x77), w, h, stride};
  for (std::size_t i = 0; i < f.size(); ++i) std::fill_n(&p.bytes[i * stride], 3, std::uint8_t(f[i] >> 2));
  return p;
}

// Sum of each 2x2 block of 8-bit samples, limited to 255, at half size.
Picture summed(const std::vector<std::uint16_t>& f, unsigned w, unsigned h) {
  Picture p{std::vector<std::uint8_t>(std::size_t(w / 2) * (h / 2) * 3), w / 2, h / 2, 3};
  for (unsigned y = 0; y + 1 < h; y += 2) {
    for (unsigned x = 0; x + 1 < w; x += 2) {
      auto at = [&](unsigned dx, unsigned dy) { return f[std::size_t(y + dy) * w + x + dx] >> 2; };
      const auto s = std::uint8_t(std::min(at(0, 0) + at(1, 0) + at(0, 1) + at(1, 1), 255));
      std::fill_n(&p.bytes[(std::size_t(y / 2) * (w / 2) + x / 2) * 3], 3, s);
    }
  }
  return p;
}

// Output (x, y) takes red and green 1 from the even one of mosaic rows y+1 and
// y+2, green 2 and blue from the odd one; the last two columns and rows copy
// the one before them.
Picture demosaiced(const std::vector<std::uint16_t>& f, unsigned w, unsigned h) {
  Picture p{std::vector<std::uint8_t>(std::size_t(w) * h * 3), w, h, 3};
  auto s = [&](unsigned row, unsigned col) { return std::uint8_t(f[std::size_t(row) * w + col] >> 2); };
  for (unsigned y = 0; y + 2 < h; ++y) {
    const unsigned even = (y + 1) % 2 == 0 ? y + 1 : y + 2, odd = even == y + 1 ? y + 2 : y + 1;
    for (unsigned x = 0; x + 2 < w; ++x) {
      const unsigned rc = 2 * ((x + 1) / 2) + 1, bc = 2 * (x / 2);
      std::uint8_t* o = &p.bytes[(std::size_t(y) * w + x) * 3];
      o[0] = s(odd, bc);
      o[1] = std::uint8_t((s(even, rc - 1) + s(odd, bc + 1)) / 2);
      o[2] = s(even, rc);
    }
    for (unsigned x = w - 2; x < w; ++x) {
      std::copy_n(&p.bytes[(std::size_t(y) * w + w - 3) * 3], 3, &p.bytes[(std::size_t(y) * w + x) * 3]);
    }
  }
  for (unsigned y = h - 2; y < h; ++y) {
    std::copy_n(&p.bytes[std::size_t(h - 3) * w * 3], std::size_t(w) * 3, &p.bytes[std::size_t(y) * w * 3]);
  }
  return p;
}

struct Size {
  unsigned w, h;
};

TEST(FrameStrip, NumberSurvivesEveryConversion) {
  // 1000 and 130 are not multiples of 32: blocks differ in width by a pixel.
  const Size sizes[] = {{1280, 1024}, {640, 480}, {1000, 300}, {130, 16}, {128, 8}};
  const std::uint32_t numbers[] = {0u, 1u, 0x80000000u, 0xFFFFFFFFu, 0xA5A5A5A5u, 123456789u};
  for (const Size& sz : sizes) {
    for (std::uint32_t n : numbers) {
      SCOPED_TRACE(testing::Message() << sz.w << "x" << sz.h << " number " << n);
      const auto mono = frame(n, sz.w, sz.h, false);
      EXPECT_EQ(grey(mono, sz.w, sz.h, 3).read(), n);
      EXPECT_EQ(grey(mono, sz.w, sz.h, 4).read(), n);
      EXPECT_EQ(summed(mono, sz.w, sz.h).read(), n);
      const auto bayer = frame(n, sz.w, sz.h, true);
      EXPECT_EQ(demosaiced(bayer, sz.w, sz.h).read(), n);
      EXPECT_EQ(summed(bayer, sz.w, sz.h).read(), n);
    }
  }
}

TEST(FrameStrip, CoversOnlyItsRowsAndOnlyFramesLargeEnough) {
  for (const Size& sz : {Size{640, 480}, Size{128, 8}, Size{300, 100}}) {
    SCOPED_TRACE(testing::Message() << sz.w << "x" << sz.h);
    std::vector<std::uint16_t> f(std::size_t(sz.w) * sz.h, 500);
    writeFrameStrip(0x12345678u, sz.w, sz.h, f);
    const unsigned rows = frameStripRows(sz.h);
    EXPECT_GE(rows, 8u);
    EXPECT_EQ(rows % 2, 0u);
    for (unsigned y = 0; y < sz.h; ++y) {
      for (unsigned x = 0; x < sz.w; ++x) {
        const auto v = f[std::size_t(y) * sz.w + x];
        if (y < rows) {
          ASSERT_TRUE(v == 0 || v == 1023) << x << "," << y;
        } else {
          ASSERT_EQ(v, 500) << x << "," << y;
        }
      }
    }
  }
  for (const Size& sz : {Size{127, 100}, Size{640, 7}}) {
    std::vector<std::uint16_t> f(std::size_t(sz.w) * sz.h, 500);
    writeFrameStrip(0xFFFFFFFFu, sz.w, sz.h, f);
    EXPECT_TRUE(std::all_of(f.begin(), f.end(), [](auto v) { return v == 500; })) << sz.w << "x" << sz.h;
  }
  std::vector<std::uint16_t> tooShort(640 * 480 - 1);
  EXPECT_THROW(writeFrameStrip(1, 640, 480, tooShort), std::invalid_argument);
}

TEST(FrameStrip, NoNumberFromPicturesWithoutAClearStrip) {
  const Picture midGrey{std::vector<std::uint8_t>(640 * 480 * 3, 128), 640, 480, 3};
  EXPECT_EQ(midGrey.read(), std::nullopt);

  // One block washed to mid-grey spoils the number rather than flipping a bit.
  Picture p = grey(frame(0xF0F0F0F0u, 640, 480, false), 640, 480, 3);
  for (unsigned y = 0; y < 14; ++y) std::fill_n(&p.bytes[(std::size_t(y) * 640 + 5 * 20) * 3], 20 * 3, 128);
  EXPECT_EQ(p.read(), std::nullopt);

  // All black would read as 0 if size were not checked.
  const Picture narrow{std::vector<std::uint8_t>(63 * 100 * 3, 0), 63, 100, 3};
  EXPECT_EQ(narrow.read(), std::nullopt);
  const Picture low{std::vector<std::uint8_t>(640 * 3 * 3, 0), 640, 3, 3};
  EXPECT_EQ(low.read(), std::nullopt);
  EXPECT_THROW(readFrameStrip(std::span(p.bytes).first(100), 640, 480, 3, 640 * 3), std::invalid_argument);
}

}  // namespace
}  // namespace kellib3
