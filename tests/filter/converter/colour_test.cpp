// Colour from the Bayer mosaic: channel averages, automatic and manual white
// balance, the demosaic with its copied edges against a reference written
// from the rules, the monochrome flag and mosaics too small for a cell.
#include <gtest/gtest.h>

#include <algorithm>

#include "filter/acquisition/settings_records.h"
#include "tests/filter/converter/frame_source.h"

namespace {

using kel::test::feed;
using kel::test::packSamples;
using Table = std::array<int, 256>;

Table levelTable(int black, int white, bool gamma, const Table& gammaCurve) {
  Table t;
  for (int v = 0; v < 256; ++v) {
    t[v] = white == black ? v : std::min(std::max(v - black, 0) * 255 / (white - black), 255);
    if (gamma) t[v] = gammaCurve[t[v]];
  }
  return t;
}

// Channel table: balance by max / value (a value of 0 counts as 1), then levels.
Table channelTable(bool balance, long long value, long long max, const Table& levels) {
  Table t;
  for (int v = 0; v < 256; ++v) t[v] = levels[balance ? std::min<long long>(max * v / value, 255) : v];
  return t;
}

// The colour picture as the rules describe it, pixel by pixel.
std::vector<std::uint8_t> referenceColour(const std::vector<std::uint8_t>& m, int w, int h, int stride,
                                          const Table& tr, const Table& tg, const Table& tb,
                                          std::vector<std::uint8_t> out) {
  auto sample = [&](int row, int col) { return int(m[std::size_t(row) * w + col]); };
  auto put = [&](int x, int y, int b, int g, int r) {
    std::uint8_t* p = &out[(std::size_t(y) * w + x) * stride];
    p[0] = std::uint8_t(b), p[1] = std::uint8_t(g), p[2] = std::uint8_t(r);
    if (stride == 4) p[3] = 255;
  };
  auto get = [&](int x, int y, int c) { return int(out[(std::size_t(y) * w + x) * stride + c]); };
  for (int y = 0; y < h - 2; ++y) {
    const int even = (y + 1) % 2 == 0 ? y + 1 : y + 2;
    const int odd = (y + 1) % 2 == 0 ? y + 2 : y + 1;
    for (int x = 0; x < w - 2; ++x) {
      const int redCol = 2 * ((x + 1) / 2) + 1;
      const int g2Col = 2 * (x / 2) + 1;
      put(x, y, tb[sample(odd, g2Col - 1)], tg[(sample(even, redCol - 1) + sample(odd, g2Col)) / 2],
          tr[sample(even, redCol)]);
    }
    for (int x = w - 2; x < w; ++x) put(x, y, get(w - 3, y, 0), get(w - 3, y, 1), get(w - 3, y, 2));
  }
  for (int y = h - 2; y < h; ++y)
    for (int x = 0; x < w; ++x) put(x, y, get(x, h - 3, 0), get(x, h - 3, 1), get(x, h - 3, 2));
  return out;
}

class ConverterColour : public kel::test::IsaTest {
 protected:
  // A 4 x 4 mosaic: red 40, green 100 on red rows and 120 on blue rows, blue 10.
  void feedFlatMosaic() {
    std::vector<std::uint8_t> s(16);
    for (int i = 0; i < 4; ++i)
      for (int j = 0; j < 4; ++j) s[i * 4 + j] = i % 2 == 0 ? (j % 2 ? 40 : 100) : (j % 2 ? 120 : 10);
    feed(converter, packSamples(4, 4, s, rng));
  }

  // Blue, green, red of pixel (0, 0) of a 24-bit picture of the 4 x 4 mosaic.
  std::array<int, 3> firstPixel() {
    std::vector<std::uint8_t> out(16 * 3);
    converter.ConvertColour(4, 4, out, 3);
    return {out[0], out[1], out[2]};
  }

  static std::array<int, 3> averages() {
    const Orvo::WhiteBalanceSettings& wb = Orvo::Settings().whiteBalance;
    return {wb.averageRed.load(), wb.averageGreen.load(), wb.averageBlue.load()};
  }

  Orvo::FrameConverter converter;
  std::mt19937 rng{5};
};

TEST_P(ConverterColour, AveragesAreStoredEvenWithBalanceOff) {
  feedFlatMosaic();
  EXPECT_EQ(firstPixel(), (std::array<int, 3>{10, 110, 40}));
  EXPECT_EQ(averages(), (std::array<int, 3>{40, 110, 10}));

  // 5 x 3: 15 pixels, so red and blue are divided by 3 and green by 7.
  // Red sits at (0,1) (0,3) (2,1) (2,3), blue at (1,0) (1,2) (1,4).
  std::vector<std::uint8_t> s(15, 0);
  for (int i : {1, 3, 11, 13}) s[i] = 30;
  for (int i : {5, 7, 9}) s[i] = 20;
  for (int i : {0, 2, 4, 6, 8, 10, 12, 14}) s[i] = 50;
  feed(converter, packSamples(5, 3, s, rng));
  std::vector<std::uint8_t> out(15 * 4);
  converter.ConvertColour(5, 3, out, 4);
  EXPECT_EQ(averages(), (std::array<int, 3>{120 / 3, 400 / 7, 60 / 3}));
}

TEST_P(ConverterColour, AutomaticBalanceScalesEveryChannelToTheLargestAverage) {
  feedFlatMosaic();
  Orvo::Settings().whiteBalance.enabled = 1;
  Orvo::Settings().whiteBalance.automatic = 1;
  EXPECT_EQ(firstPixel(), (std::array<int, 3>{110, 110, 110}));
}

TEST_P(ConverterColour, ManualCoefficientsCountZeroAsOne) {
  feedFlatMosaic();
  Orvo::WhiteBalanceSettings& wb = Orvo::Settings().whiteBalance;
  wb.enabled = 1;
  wb.red = 2;
  wb.green = 0;
  wb.blue = 4;
  // Largest value 4: red doubles, green is four times (limited), blue stays.
  EXPECT_EQ(firstPixel(), (std::array<int, 3>{10, 255, 80}));
  EXPECT_EQ(averages(), (std::array<int, 3>{40, 110, 10}));
}

TEST_P(ConverterColour, DemosaicMatchesTheRulesForEverySizeAndSetting) {
  const Table& gamma = [] {
    // The gamma curve as the grey picture of every value shows it.
    static Table t;
    Orvo::FrameConverter c;
    std::mt19937 r{1};
    std::vector<std::uint8_t> s(256);
    for (int v = 0; v < 256; ++v) s[v] = std::uint8_t(v);
    feed(c, packSamples(256, 1, s, r));
    Orvo::Settings().whiteBalance.gamma = 1;
    std::vector<std::uint8_t> out(256 * 3);
    c.ConvertGrey24(256, 1, out);
    Orvo::Settings().whiteBalance.gamma = 0;
    for (int v = 0; v < 256; ++v) t[v] = out[3 * v];
    return t;
  }();
  struct Case {
    int w, h, stride, enabled, automatic, gamma, black, white, red, green, blue;
  };
  const Case cases[] = {
      {64, 48, 3, 0, 0, 0, 0, 255, 0, 0, 0},   {64, 48, 4, 1, 1, 1, 0, 255, 0, 0, 0},
      {37, 21, 3, 1, 0, 0, 5, 200, 3, 0, 7},   {37, 21, 4, 1, 1, 0, 20, 220, 0, 0, 0},
      {3, 3, 3, 1, 1, 1, 0, 255, 0, 0, 0},     {130, 7, 4, 0, 0, 1, 30, 30, 0, 0, 0},
      {1000, 5, 3, 1, 0, 1, 0, 128, 90, 60, 0}, {6, 9, 4, 1, 1, 0, 0, 255, 0, 0, 0},
      // 64 and 65 computed pixels a row: one whole vector step, and one more.
      {66, 5, 3, 1, 1, 1, 10, 240, 0, 0, 0},   {67, 6, 4, 1, 0, 0, 0, 255, 9, 200, 40},
      {67, 4, 3, 0, 0, 0, 0, 255, 0, 0, 0},    {200, 4, 4, 1, 1, 0, 0, 255, 0, 0, 0},
      // Unpacked and summed a few rows at a time: bands of 4, 4 and 3 rows.
      {2999, 11, 4, 1, 1, 0, 0, 255, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " stride " << c.stride);
    Orvo::WhiteBalanceSettings& wb = Orvo::Settings().whiteBalance;
    wb.enabled = c.enabled, wb.automatic = c.automatic, wb.gamma = c.gamma;
    wb.red = c.red, wb.green = c.green, wb.blue = c.blue;
    Orvo::Settings().levels.black = c.black;
    Orvo::Settings().levels.white = c.white;
    const auto frame = kel::test::randomFrame(c.w, c.h, rng);
    feed(converter, frame);
    // 64 bytes past the picture that must stay as they are.
    const std::size_t bytes = std::size_t(c.w) * c.h * c.stride;
    std::vector<std::uint8_t> out(bytes + 64, 0x99);
    const std::vector<std::uint8_t> before = out;
    converter.ConvertColour(c.w, c.h, std::span(out).first(bytes), c.stride);

    long long sums[3] = {0, 0, 0};  // red, green, blue
    for (int i = 0; i < c.h; ++i)
      for (int j = 0; j < c.w; ++j) sums[i % 2 == 0 ? (j % 2 ? 0 : 1) : (j % 2 ? 1 : 2)] += frame.samples[i * c.w + j];
    const long long n = (long long)c.w * c.h;
    const long long avg[3] = {sums[0] / (n / 4), sums[1] / (n / 2), sums[2] / (n / 4)};
    EXPECT_EQ(averages(), (std::array<int, 3>{int(avg[0]), int(avg[1]), int(avg[2])}));
    long long v[3] = {c.red, c.green, c.blue};
    if (c.automatic) std::copy(avg, avg + 3, v);
    for (auto& x : v) x = std::max(x, 1LL);
    const long long m = std::max({v[0], v[1], v[2]});
    const Table levels = levelTable(c.black, c.white, c.gamma, gamma);
    const auto expected = referenceColour(frame.samples, c.w, c.h, c.stride, channelTable(c.enabled, v[0], m, levels),
                                          channelTable(c.enabled, v[1], m, levels),
                                          channelTable(c.enabled, v[2], m, levels), before);
    ASSERT_EQ(out, expected);
    // The copied edges, checked once more on the output itself.
    auto px = [&](int x, int y) {
      const std::uint8_t* p = &out[(std::size_t(y) * c.w + x) * c.stride];
      return std::array<int, 3>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(px(c.w - 1, 0), px(c.w - 3, 0));
    EXPECT_EQ(px(c.w - 2, c.h - 1), px(c.w - 3, c.h - 3));
    if (c.stride == 4) {
      EXPECT_EQ(out[bytes - 1], 255) << "opaque";
    }
  }
}

TEST_P(ConverterColour, MonochromeCopiesTheSamplesAndMeasuresNothing) {
  Orvo::Settings().monochrome = 1;
  Orvo::Settings().whiteBalance.enabled = 1;
  Orvo::Settings().whiteBalance.gamma = 1;
  Orvo::Settings().levels.black = 50;
  Orvo::Settings().whiteBalance.averageRed = -1;
  const auto frame = kel::test::randomFrame(131, 9, rng);
  feed(converter, frame);
  std::vector<std::uint8_t> out(131 * 9 * 4, 0x42);
  converter.ConvertColour(131, 9, out, 4);
  for (std::size_t i = 0; i < frame.samples.size(); ++i) {
    const std::uint8_t s = frame.samples[i];
    ASSERT_EQ((std::array<int, 4>{out[4 * i], out[4 * i + 1], out[4 * i + 2], out[4 * i + 3]}),
              (std::array<int, 4>{s, s, s, 255}));
  }
  EXPECT_EQ(Orvo::Settings().whiteBalance.averageRed.load(), -1);
}

TEST_P(ConverterColour, MosaicWithoutAFullCellIsBlack) {
  for (auto [w, h] : {std::pair{2, 2}, {1, 5}, {7, 2}}) {
    feed(converter, kel::test::randomFrame(w, h, rng));
    std::vector<std::uint8_t> out(std::size_t(w) * h * 3, 0x77);
    converter.ConvertColour(w, h, out, 3);
    EXPECT_EQ(out, std::vector<std::uint8_t>(out.size(), 0)) << w << "x" << h;
    std::vector<std::uint8_t> out4(std::size_t(w) * h * 4, 0x77);
    converter.ConvertColour(w, h, out4, 4);
    for (std::size_t i = 0; i < out4.size(); ++i) ASSERT_EQ(out4[i], i % 4 == 3 ? 255 : 0) << w << "x" << h;
  }
}

KEL_FOR_EVERY_ISA(ConverterColour);

}  // namespace
