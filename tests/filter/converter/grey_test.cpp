// Grey pictures: levels and gamma, the opaque fourth byte, 2x2 summation
// and the diagnostic repack.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

#include "filter/acquisition/settings_records.h"
#include "tests/filter/converter/frame_source.h"

namespace {

using kel::test::feed;
using kel::test::packSamples;
using kel::test::PackedFrame;

class ConverterGrey : public kel::test::IsaTest {
 protected:
  // A 16 x 16 frame holding every sample value 0..255 once.
  void feedAllValues() {
    std::vector<std::uint8_t> s(256);
    std::iota(s.begin(), s.end(), 0);
    feed(converter, packSamples(16, 16, s, rng));
  }

  // Grey value of each pixel of a 32-bit picture of the 16 x 16 frame.
  std::vector<int> grey32() {
    std::vector<std::uint8_t> out(256 * 4, 0xA7);
    converter.ConvertGrey32(16, 16, out);
    std::vector<int> v(256);
    for (int i = 0; i < 256; ++i) {
      EXPECT_EQ(out[4 * i + 3], 255) << "fourth byte of pixel " << i;
      EXPECT_TRUE(out[4 * i] == out[4 * i + 1] && out[4 * i] == out[4 * i + 2]);
      v[i] = out[4 * i];
    }
    return v;
  }

  Orvo::FrameConverter converter;
  std::mt19937 rng{11};
};

TEST_P(ConverterGrey, LevelsStretchBlackToWhite) {
  feedAllValues();
  Orvo::Settings().levels.black = 10;
  Orvo::Settings().levels.white = 60;
  const std::vector<int> v = grey32();
  for (int s = 0; s < 256; ++s) EXPECT_EQ(v[s], std::min(std::max(s - 10, 0) * 255 / 50, 255)) << s;
  EXPECT_EQ(v[10], 0);
  EXPECT_EQ(v[35], 127);
  EXPECT_EQ(v[60], 255);
  EXPECT_EQ(v[200], 255);
}

TEST_P(ConverterGrey, EqualBlackAndWhiteLeaveTheIdentityAndWhiteBelowBlackGivesBlack) {
  feedAllValues();
  Orvo::Settings().levels.black = 100;
  Orvo::Settings().levels.white = 100;
  std::vector<int> identity(256);
  std::iota(identity.begin(), identity.end(), 0);
  EXPECT_EQ(grey32(), identity);

  Orvo::Settings().levels.black = 200;
  Orvo::Settings().levels.white = 50;
  const std::vector<int> v = grey32();
  for (int s = 0; s < 256; ++s) ASSERT_EQ(v[s], 0) << s;
}

TEST_P(ConverterGrey, GammaFollowsTheLevels) {
  feedAllValues();
  Orvo::Settings().whiteBalance.gamma = 1;
  const std::vector<int> g = grey32();
  EXPECT_EQ(g[0], 0);
  EXPECT_EQ(g[1], 15);
  EXPECT_EQ(g[4], 31);
  EXPECT_EQ(g[64], 127);
  EXPECT_EQ(g[254], 254);
  EXPECT_EQ(g[255], 254);
  // Within 1 of the rounded square-root curve, and never decreasing.
  for (int s = 0; s < 256; ++s) {
    EXPECT_LE(std::abs(g[s] - std::lround(255.0 * std::sqrt(s / 255.0))), 1) << s;
    EXPECT_GE(g[s], g[std::max(s - 1, 0)]) << s;
  }

  // Gamma applies to the stretched value.
  Orvo::Settings().levels.black = 10;
  Orvo::Settings().levels.white = 60;
  const std::vector<int> v = grey32();
  for (int s : {0, 11, 35, 59, 60, 255}) EXPECT_EQ(v[s], g[std::min(std::max(s - 10, 0) * 255 / 50, 255)]) << s;
}

TEST_P(ConverterGrey, LargeFramesGoThroughTheLevelTableAndStayInsideThePicture) {
  // Sizes around the 64-pixel vector step and the 5120-pixel unpacking slice.
  for (auto [w, h] : {std::pair{333u, 7u}, {1280u, 4u}, {517u, 11u}, {64u, 1u}}) {
    const PackedFrame f = kel::test::randomFrame(w, h, rng);
    feed(converter, f);
    for (auto [black, white] : {std::pair{0, 255}, {12, 200}}) {
      Orvo::Settings().levels.black = black;
      Orvo::Settings().levels.white = white;
      for (int stride : {3, 4}) {
        SCOPED_TRACE(testing::Message() << w << "x" << h << " levels " << black << "-" << white << " stride " << stride);
        const std::size_t bytes = std::size_t(w) * h * stride;
        std::vector<std::uint8_t> out(bytes + 64, 0x5C);  // 64 bytes past the picture must stay
        std::vector<std::uint8_t> expected = out;
        for (std::size_t i = 0; i < f.samples.size(); ++i) {
          const int v = std::min(std::max(f.samples[i] - black, 0) * 255 / (white - black), 255);
          std::fill_n(&expected[i * stride], 3, std::uint8_t(v));
          if (stride == 4) expected[i * stride + 3] = 255;
        }
        const std::span<std::uint8_t> picture(out.data(), bytes);
        stride == 3 ? converter.ConvertGrey24(w, h, picture) : converter.ConvertGrey32(w, h, picture);
        ASSERT_EQ(out, expected);
      }
    }
  }
}

TEST_P(ConverterGrey, SummationAddsEvenBlocksAndSaturates) {
  // The 5 x 5 frame's last row and column have no complete block.
  const std::vector<std::uint8_t> s = {
      10, 20, 200, 100, 77,  //
      30, 40, 50,  60,  77,  //
      1,  2,  3,   4,   77,  //
      5,  6,  7,   8,   77,  //
      99, 99, 99,  99,  99,
  };
  feed(converter, packSamples(5, 5, s, rng));
  std::vector<std::uint8_t> out(2 * 2 * 3);
  converter.ConvertSummation(5, 5, out, 3);
  EXPECT_EQ(out, (std::vector<std::uint8_t>{100, 100, 100, 255, 255, 255, 14, 14, 14, 22, 22, 22}));

  Orvo::Settings().levels.black = 14;
  Orvo::Settings().levels.white = 100;
  std::vector<std::uint8_t> out4(2 * 2 * 4, 0x3C);
  converter.ConvertSummation(5, 5, out4, 4);
  EXPECT_EQ(out4, (std::vector<std::uint8_t>{255, 255, 255, 255, 255, 255, 255, 255,  //
                                             0, 0, 0, 255, 23, 23, 23, 255}));
}

TEST_P(ConverterGrey, SummationOfLargeFramesMatchesTheBlockSums) {
  // Output rows of 63, 64, 65 and 150 pixels: around and past one vector step.
  for (auto [w, h] : {std::pair{127u, 5u}, {128u, 4u}, {130u, 3u}, {300u, 6u}}) {
    // Mostly small samples, so that some sums stay below 255.
    std::vector<std::uint8_t> s(std::size_t(w) * h);
    for (auto& v : s) v = static_cast<std::uint8_t>(rng() % 2 ? rng() % 64 : rng());
    feed(converter, packSamples(w, h, s, rng));
    Orvo::Settings().levels.black = 20;
    Orvo::Settings().levels.white = 240;
    for (int stride : {3, 4}) {
      SCOPED_TRACE(testing::Message() << w << "x" << h << " stride " << stride);
      const std::size_t bytes = std::size_t(w / 2) * (h / 2) * stride;
      std::vector<std::uint8_t> out(bytes + 64, 0x6B);
      std::vector<std::uint8_t> expected = out;
      for (std::size_t y = 0; y < h / 2; ++y) {
        for (std::size_t x = 0; x < w / 2; ++x) {
          auto at = [&](std::size_t r, std::size_t c) { return int(s[r * w + c]); };
          const int sum = std::min(at(2 * y, 2 * x) + at(2 * y, 2 * x + 1) + at(2 * y + 1, 2 * x) +
                                       at(2 * y + 1, 2 * x + 1),
                                   255);
          const int v = std::min(std::max(sum - 20, 0) * 255 / 220, 255);
          std::fill_n(&expected[(y * (w / 2) + x) * stride], 3, std::uint8_t(v));
          if (stride == 4) expected[(y * (w / 2) + x) * stride + 3] = 255;
        }
      }
      converter.ConvertSummation(w, h, std::span(out).first(bytes), stride);
      ASSERT_EQ(out, expected);
    }
  }
}

TEST_P(ConverterGrey, RepackSortsGroupsByPartAndClipsBelowTheLastRow) {
  // Two full rows of 256 and five pixels of a third: 11 x 47 = 517 pixels.
  std::vector<std::uint8_t> s(517);
  for (std::size_t i = 0; i < s.size(); ++i) s[i] = static_cast<std::uint8_t>(i * 7 + 3);
  feed(converter, packSamples(11, 47, s, rng));
  Orvo::Settings().repack = 1;
  std::vector<std::uint8_t> out(517 * 4, 0xC3);
  converter.ConvertGrey32(11, 47, out);
  auto at = [&](std::size_t pixel) { return out[pixel * 4]; };
  for (std::size_t p = 0; p < 517; ++p) EXPECT_EQ(out[p * 4 + 3], 255);

  // Each row ends with its own pixels 0 and 2 at the group's columns: rows
  // are taken in order, so they overwrite what the row above sent down.
  for (std::size_t row : {0, 1}) {
    for (std::size_t g = 0; g < 25; ++g) {
      EXPECT_EQ(at(row * 256 + 2 * g), s[row * 256 + 10 * g]);
      EXPECT_EQ(at(row * 256 + 2 * g + 1), s[row * 256 + 10 * g + 2]);
    }
    EXPECT_EQ(at(row * 256 + 50), s[row * 256 + 50]);  // past the groups: unchanged
  }
  // The short third row has no group of its own: it keeps pixels 6 and 8 of
  // the groups of row 1.
  EXPECT_EQ(at(512), s[262]);
  EXPECT_EQ(at(513), s[264]);
  EXPECT_EQ(at(514), s[272]);
  EXPECT_EQ(at(515), s[274]);
  EXPECT_EQ(at(516), s[282]);
}

KEL_FOR_EVERY_ISA(ConverterGrey);

}  // namespace
