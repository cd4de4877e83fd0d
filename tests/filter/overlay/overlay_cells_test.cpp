// The overlay's cell texts.
#include <gtest/gtest.h>

#include <string>

#include "filter/processing/blend_cells.h"

namespace {

using Blend::OverlayCells;
using Blend::OverlayValues;

// Padded to 25 characters (Cyrillic letters count as one).
std::string cell25(const std::string& text) {
  std::size_t n = 0;
  for (char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return text + std::string(25 - n, ' ');
}

TEST(OverlayCells, FrameNumberIsZeroPaddedToTheFilmLengthsDigits) {
  OverlayValues v;
  v.filmLength = 1000;
  const std::pair<int, const char*> cases[] = {
      {7, "Кадр №:0007"}, {0, "Кадр №:0000"}, {1000, "Кадр №:1000"}, {123456, "Кадр №:123456"}};
  for (const auto& [frame, text] : cases) {
    v.frame = frame;
    EXPECT_EQ(OverlayCells(v)[0], cell25(text)) << frame;
  }
}

TEST(OverlayCells, ValuesCorrectionsAndShutterRow) {
  OverlayValues v;
  v.period = 1000;
  v.exposure = 100;
  v.exposureInMicroseconds = false;
  v.background = true;
  v.windowWidth = -2;  // printed unsigned
  v.windowHeight = 480;
  v.decimation = 2;
  v.gain = 4;
  v.black = 12;
  v.digitalGain = -1;  // printed signed
  v.levelBlack = 10;
  v.levelWhite = 200;
  auto cells = OverlayCells(v);
  ASSERT_EQ(cells.size(), 6u);
  EXPECT_EQ(cells[1], cell25("1000/100 <мкс/нс>"));
  EXPECT_EQ(cells[2], "[ФОН]");
  EXPECT_EQ(cells[3], cell25("Окно   :4294967294x480:2"));
  EXPECT_EQ(cells[4], cell25("4/12/-1"));
  EXPECT_EQ(cells[5], "10/200");

  v.exposureInMicroseconds = true;
  v.background = false;
  v.whiteBalance = true;
  v.gamma = true;
  v.red = 3;
  v.green = 4;
  v.blue = -1;
  v.shutter = true;
  v.shutterVoltage = 300;
  v.shutterCount = 2;
  v.shutterPeriod = 50;
  cells = OverlayCells(v);
  ASSERT_EQ(cells.size(), 7u);
  EXPECT_EQ(cells[1], cell25("1000/100 <мкс/мкс>"));
  EXPECT_EQ(cells[2], "[   ]");
  EXPECT_EQ(cells[5], "3-4-4294967295/ГАММА/10/200");
  EXPECT_EQ(cells[6], "Затвор :300/2/50");
  v.automaticBalance = true;
  v.gamma = false;
  EXPECT_EQ(OverlayCells(v)[5], "БАЛ/10/200");
}

}  // namespace
