// Reading the DMA parts back: every sample of the packed layout, frames whose
// pixel count is not a multiple of 10 or of a whole DMA group, buffer growth
// and bad input.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/filter/converter/frame_source.h"

namespace {

using kel::test::feed;
using kel::test::PackedFrame;
using kel::test::randomFrame;

class ConverterUnpack : public kel::test::IsaTest {
 protected:
  // The plain grey picture (identity levels) gives the samples back.
  std::vector<std::uint8_t> greyOf(const PackedFrame& f) {
    std::vector<std::uint8_t> out(std::size_t(f.width) * f.height * 3);
    converter.ConvertGrey24(f.width, f.height, out);
    std::vector<std::uint8_t> s(out.size() / 3);
    for (std::size_t i = 0; i < s.size(); ++i) {
      EXPECT_TRUE(out[3 * i] == out[3 * i + 1] && out[3 * i] == out[3 * i + 2]) << "pixel " << i;
      s[i] = out[3 * i];
    }
    return s;
  }

  Orvo::FrameConverter converter;
  std::mt19937 rng{7};
};

TEST_P(ConverterUnpack, EverySampleOfThePackedLayoutComesBack) {
  // 80 pixels fill one DMA group exactly, 640 one 200-byte block; the
  // others end inside a group or a block, and inside or after a step of 16
  // words of the vector loops.
  for (auto [w, h] : {std::pair{80u, 1u}, {640u, 8u}, {10u, 1u}, {30u, 3u}, {50u, 13u}, {1280u, 7u}, {1600u, 1u},
                      {2000u, 1u}, {12800u, 1u}}) {
    const PackedFrame f = randomFrame(w, h, rng);
    feed(converter, f);
    EXPECT_EQ(greyOf(f), f.samples) << w << "x" << h;
  }
}

TEST_P(ConverterUnpack, PixelCountNotAMultipleOfTenStaysInsideTheBuffers) {
  // Exact-size outputs: the sanitizers see any write past the last pixel.
  for (auto [w, h] : {std::pair{7u, 3u}, {1u, 1u}, {13u, 11u}, {3u, 27u}}) {
    const PackedFrame f = randomFrame(w, h, rng);
    feed(converter, f);
    EXPECT_EQ(greyOf(f), f.samples) << w << "x" << h;
    std::vector<std::uint8_t> out(std::size_t(w) * h * 4, 0xEE);
    converter.ConvertColour(w, h, out, 4);
    converter.ConvertSummation(w, h, std::span(out).first(std::size_t(w / 2) * (h / 2) * 4), 4);
  }
}

TEST_P(ConverterUnpack, LargerFrameGrowsTheBuffersAndSmallerKeepsThem) {
  const PackedFrame small = randomFrame(20, 10, rng);
  feed(converter, small);
  EXPECT_EQ(converter.PartBytes(), 20u * 10 * 4 / 10 + 1024);
  EXPECT_EQ(greyOf(small), small.samples);

  const PackedFrame large = randomFrame(320, 240, rng);
  feed(converter, large);
  EXPECT_EQ(converter.PartBytes(), 320u * 240 * 4 / 10 + 1024);
  EXPECT_EQ(greyOf(large), large.samples);

  const PackedFrame again = randomFrame(20, 10, rng);
  feed(converter, again);
  EXPECT_EQ(converter.PartBytes(), 320u * 240 * 4 / 10 + 1024);
  EXPECT_EQ(greyOf(again), again.samples);
}

TEST_P(ConverterUnpack, BadInputIsRefusedWithAClearError) {
  const PackedFrame f = randomFrame(40, 4, rng);
  EXPECT_THROW(converter.TakePart(0, 40, 4, f.parts[0]), std::invalid_argument);
  EXPECT_THROW(converter.TakePart(5, 40, 4, f.parts[0]), std::invalid_argument);
  // 160 pixels are two groups: the second group's flag byte is byte 193.
  EXPECT_THROW(converter.TakePart(1, 40, 4, std::span(f.parts[0]).first(193)), std::invalid_argument);
  EXPECT_NO_THROW(converter.TakePart(1, 40, 4, std::span(f.parts[0]).first(194)));
  std::vector<std::uint8_t> out(40 * 4 * 4);
  EXPECT_THROW(converter.ConvertGrey32(40, 5, out), std::invalid_argument);  // output too small
  EXPECT_THROW(converter.ConvertColour(40, 4, out, 2), std::invalid_argument);
  // Parts of a frame this large were never taken.
  std::vector<std::uint8_t> big(400 * 400 * 4);
  EXPECT_THROW(converter.ConvertGrey32(400, 400, big), std::logic_error);
}

TEST_P(ConverterUnpack, ZeroSizedFrameWritesNothing) {
  std::vector<std::uint8_t> out(12, 0x5A);
  converter.TakePart(1, 0, 480, {});
  EXPECT_EQ(converter.PartBytes(), 0u);
  converter.ConvertGrey24(0, 480, out);
  converter.ConvertGrey32(640, 0, out);
  converter.ConvertColour(0, 0, out, 3);
  feed(converter, randomFrame(1, 1, rng));
  converter.ConvertSummation(1, 1, out, 4);  // its half-size picture is 0 x 0
  EXPECT_EQ(out, std::vector<std::uint8_t>(12, 0x5A));
}

KEL_FOR_EVERY_ISA(ConverterUnpack);

}  // namespace
