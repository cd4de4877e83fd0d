// Background subtraction on the live picture: switched on, the next set-up
// run first takes the backgrounds, and the frames then come with them
// subtracted, which lifts every colour byte to at least the subtraction's
// offset.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "filter/processing/background_subtract.h"
#include "shared/identifiers.h"
#include "tests/filter/capture/graph_rig.h"

namespace kel::test {
namespace {

// The darkest colour byte (the first three bytes of each pixel) of the
// fourth frame of a set-up run: by then the frames use the last background.
int darkestOfFourthFrame(GraphRig& rig) {
  EXPECT_EQ(rig.build(MODE_Setup), S_OK);
  EXPECT_EQ(rig.run(), S_OK);
  plat::VideoFrame frame;
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(rig.nextFrame(frame));
  EXPECT_TRUE(rig.stop());
  EXPECT_EQ(transparentPixels(frame), 0u);
  const auto rows = uprightRows(frame);
  const std::size_t bpp = frame.bitCount / 8u;
  int darkest = 256;
  for (std::size_t i = 0; i + bpp <= rows.size(); i += bpp)
    for (std::size_t c = 0; c < 3; ++c) darkest = std::min<int>(darkest, rows[i + c]);
  return darkest;
}

TEST(CaptureBackground, SubtractionLiftsTheDarkestBytesToItsOffset) {
  GraphRig rig;
  const int offset = Orvo::kBackgroundOffset;
  EXPECT_LT(darkestOfFourthFrame(rig), offset) << "the plain picture has darker bytes";
  ASSERT_EQ(rig.camera()->EnableBackgroundSubtraction(TRUE), S_OK);
  EXPECT_GE(darkestOfFourthFrame(rig), offset);
  ASSERT_EQ(rig.camera()->EnableBackgroundSubtraction(FALSE), S_OK);
  EXPECT_LT(darkestOfFourthFrame(rig), offset) << "switched off, frames pass unchanged";
  EXPECT_TRUE(rig.texts().empty());
}

}  // namespace
}  // namespace kel::test
