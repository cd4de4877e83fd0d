// The overlay's cell texts.
#include <gtest/gtest.h>

#include <string>

#include "filter/processing/blend_cells.h"

namespace {

using Blend::OverlayCells;
using Blend::OverlayValues;

std::size_t characters(const std::string& s) {
  std::size_t n = 0;
  for (char c : s) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

std::string cell25(const std::string& text) { return text + std::string(25 - characters(text), ' '); }

TEST(OverlayCells, FrameNumberIsZeroPaddedToTheFilmLengthsDigits) {
  OverlayValues v;
  v.filmLength = 1000;
  const std::pair<int, const char*> cases[] = {
      {7, "Кадр №:0007"}, {0, "Кадр №:0000"}, {42, "Кадр №:0042"}, {1000, "Кадр №:1000"}, {123456, "Кадр №:123456"}};
  for (const auto& [frame, text] : cases) {
    v.frame = frame;
    const std::string first = OverlayCells(v)[0];
    EXPECT_EQ(first, cell25(text)) << frame;
    EXPECT_EQ(characters(first), 25u);
  }
  v.filmLength = 0;
  v.frame = 5;
  EXPECT_EQ(OverlayCells(v)[0], cell25("Кадр №:5"));
}

TEST(OverlayCells, TimesWindowAndGains) {
  OverlayValues v;
  v.period = 1000;
  v.exposure = 250;
  v.windowWidth = 640;
  v.windowHeight = 480;
  v.decimation = 2;
  v.gain = 4;
  v.black = 12;
  v.digitalGain = 3;
  auto cells = OverlayCells(v);
  ASSERT_EQ(cells.size(), 6u);
  EXPECT_EQ(cells[1], cell25("1000/250 <мкс/мкс>"));
  EXPECT_EQ(cells[2], "[   ]");
  EXPECT_EQ(cells[3], cell25("Окно   :640x480:2"));
  EXPECT_EQ(cells[4], cell25("4/12/3"));

  v.exposureInMicroseconds = false;
  v.exposure = 100;
  v.background = true;
  v.digitalGain = -1;  // signed
  v.windowWidth = -2;  // unsigned
  cells = OverlayCells(v);
  EXPECT_EQ(cells[1], cell25("1000/100 <мкс/нс>"));
  EXPECT_EQ(cells[2], "[ФОН]");
  EXPECT_EQ(cells[3], cell25("Окно   :4294967294x480:2"));
  EXPECT_EQ(cells[4], cell25("4/12/-1"));
}

TEST(OverlayCells, ColourCorrections) {
  OverlayValues v;
  v.levelBlack = 10;
  v.levelWhite = 200;
  EXPECT_EQ(OverlayCells(v)[5], "10/200");
  v.gamma = true;
  EXPECT_EQ(OverlayCells(v)[5], "ГАММА/10/200");
  v.whiteBalance = true;
  v.red = 3;
  v.green = 4;
  v.blue = -1;
  EXPECT_EQ(OverlayCells(v)[5], "3-4-4294967295/ГАММА/10/200");
  v.automaticBalance = true;
  v.gamma = false;
  EXPECT_EQ(OverlayCells(v)[5], "БАЛ/10/200");
  // Automatic without white balance shows nothing of it.
  v.whiteBalance = false;
  EXPECT_EQ(OverlayCells(v)[5], "10/200");
}

TEST(OverlayCells, ShutterAddsAThirdRow) {
  OverlayValues v;
  EXPECT_EQ(OverlayCells(v).size(), 6u);
  v.shutter = true;
  v.shutterVoltage = 300;
  v.shutterCount = 2;
  v.shutterPeriod = 50;
  const auto cells = OverlayCells(v);
  ASSERT_EQ(cells.size(), 7u);
  EXPECT_EQ(cells[6], "Затвор :300/2/50");
}

}  // namespace
