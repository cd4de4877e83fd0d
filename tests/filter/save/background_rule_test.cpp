// The byte rule of background subtraction and how the transform applies it
// before any background exists.
#include <gtest/gtest.h>

#include <cstdint>
#include <numeric>
#include <vector>

#include "filter/processing/StClearImageTransform.h"
#include "filter/processing/background_subtract.h"
#include "shared/identifiers.h"
#include "tests/filter/save/save_rig.h"

namespace {

using namespace kel::test;
using Bytes = std::vector<std::uint8_t>;

std::uint8_t subtractOne(std::uint8_t frame, std::uint8_t background) {
  std::uint8_t out = 0;
  Orvo::SubtractBackground({&out, 1}, std::span<const std::uint8_t>(&frame, 1),
                           std::span<const std::uint8_t>(&background, 1));
  return out;
}

Bytes ramp(std::size_t n, int start) {
  Bytes b(n);
  for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(start + 7 * i);
  return b;
}

TEST(BackgroundRule, DifferenceIsLiftedByTheOffsetAndNeverDarker) {
  EXPECT_EQ(subtractOne(200, 50), 170);
  EXPECT_EQ(subtractOne(250, 10), 255);  // 260 saturates
  EXPECT_EQ(subtractOne(50, 50), 20);    // equal to the background
  EXPECT_EQ(subtractOne(10, 50), 20);    // darker than the background
  EXPECT_EQ(subtractOne(51, 50), 21);
  EXPECT_EQ(subtractOne(255, 0), 255);
  EXPECT_EQ(subtractOne(0, 0), 20);
}

TEST(BackgroundRule, FrameBeyondAShorterBackgroundIsCopied) {
  const Bytes frame = ramp(10, 100);
  const Bytes background(4, 90);
  Bytes out(10, 0xEE);
  Orvo::SubtractBackground(out, frame, background);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(out[i], frame[i] - 90 + 20) << i;
  for (std::size_t i = 4; i < 10; ++i) EXPECT_EQ(out[i], frame[i]) << i;
}

TEST(BackgroundRule, FourBytePixelsKeepTheFramesFourthByte) {
  const Bytes frame = {200, 100, 60, 255, 10, 20, 30, 255};
  const Bytes background = {50, 50, 50, 255, 50, 50, 50, 255};
  Bytes out(8, 0);
  Orvo::SubtractBackground(out, frame, background, 4);
  EXPECT_EQ(out, (Bytes{170, 70, 30, 255, 20, 20, 20, 255}));
}

class TransformTest : public ::testing::Test {
 protected:
  SettingsGuard settings;
  SaveRig rig{MODE_Setup, {kSmallSensor}};
  Orvo::StClearImageTransform transform{rig.system().Handle()};
};

TEST_F(TransformTest, DisabledCopiesTheFrameAndStillAdvancesTheIndexToThree) {
  const Bytes frame = ramp(97, 3);
  Bytes out;
  for (int call = 1; call <= 5; ++call) {
    out.assign(13, 0xAA);  // any size: the output follows the input
    ASSERT_TRUE(transform.Apply(out, frame));
    EXPECT_EQ(out, frame) << call;
    EXPECT_EQ(transform.BackgroundIndex(), std::min(call, 3)) << call;
  }
}

TEST_F(TransformTest, EnabledWithoutABackgroundLeavesTheFrameUnchanged) {
  transform.SetEnabled(true);
  const Bytes frame = ramp(kWidth * kHeight * 3, 11);
  // What the buffer held before must not show through.
  Bytes out(frame.size(), 0x5A);
  ASSERT_TRUE(transform.Apply(out, frame));
  EXPECT_EQ(out, frame);
  ASSERT_TRUE(transform.Apply(out, frame));
  EXPECT_EQ(out, frame);
}

TEST(TransformConstruction, MissingInputInterfaceNamesTheUnitAndLine) {
  SettingsGuard settings;
  SaveRig rig(MODE_Setup, {kSmallSensor, {"KELLIB3_FAIL", "SystemGetInDInterface:1"}});
  try {
    Orvo::StClearImageTransform transform(rig.system().Handle());
    FAIL() << "the transform was made without an input interface";
  } catch (const LIB3::CError& e) {
    EXPECT_NE(e.Text().find("in File: StOrvoTransform Line: 11"), std::string::npos) << e.Text();
  }
}

}  // namespace
