// The copy into the sample for the cases a graph cannot reach yet (save
// mode needs the file source) and for the sizes that must never overrun:
// row orders, the rotated copy, gain saturation.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "filter/capture/frame_copy.h"

namespace {

using Kel::CopyLayout;
using Bytes = std::vector<std::uint8_t>;

// A W x H frame of `bpp`-byte pixels whose bytes count up from 1.
Bytes countingFrame(std::uint32_t w, std::uint32_t h, int bpp) {
  Bytes f(std::size_t{w} * h * static_cast<std::size_t>(bpp));
  std::iota(f.begin(), f.end(), std::uint8_t{1});
  return f;
}

TEST(FrameCopy, SaveModeWritesRowsBottomUp) {
  const CopyLayout layout{3, 2, 3, true};
  const Bytes frame = countingFrame(3, 2, 3);
  Bytes sample(frame.size(), 0);
  Kel::CopyStraight(frame, sample, layout, 0);
  EXPECT_EQ(Bytes(sample.begin(), sample.begin() + 9), Bytes(frame.begin() + 9, frame.end()));
  EXPECT_EQ(Bytes(sample.begin() + 9, sample.end()), Bytes(frame.begin(), frame.begin() + 9));
}

TEST(FrameCopy, SaveModeRotatedReversesEachRowKeepingRowOrder) {
  const CopyLayout layout{2, 2, 4, true};
  const Bytes frame = countingFrame(2, 2, 4);
  Bytes sample(frame.size(), 0);
  Kel::CopyRotated(frame, sample, layout, 0);
  const Bytes expected{5, 6, 7, 8, 1, 2, 3, 4, 13, 14, 15, 16, 9, 10, 11, 12};
  EXPECT_EQ(sample, expected);
}

TEST(FrameCopy, RotatedCopyNeverReadsPastASmallerFrame) {
  // A sample larger than the frame: only the frame's pixels are written,
  // last pixel first; the rest of the sample stays as it was.
  const CopyLayout layout{2, 1, 3, false};
  const Bytes frame = countingFrame(2, 1, 3);
  Bytes sample(12, 0xEE);
  Kel::CopyRotated(frame, sample, layout, 0);
  const Bytes expected{4, 5, 6, 1, 2, 3, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE, 0xEE};
  EXPECT_EQ(sample, expected);
}

TEST(FrameCopy, StraightCopyStopsAtTheSmallerSizeAndShiftsOnlyWithPositiveGain) {
  const CopyLayout layout{4, 1, 3, false};
  const Bytes frame{0, 1, 2, 100, 127, 128, 200, 255, 3, 4, 5, 6};
  Bytes sample(8, 0xEE);
  Kel::CopyStraight(frame, sample, layout, -3);
  EXPECT_EQ(sample, Bytes(frame.begin(), frame.begin() + 8)) << "gain below 1 copies as is";
  Kel::CopyStraight(frame, sample, layout, 1);
  EXPECT_EQ(sample, (Bytes{0, 2, 4, 200, 254, 255, 255, 255}));
  Kel::CopyStraight(frame, sample, layout, 9);
  EXPECT_EQ(sample, (Bytes{0, 255, 255, 255, 255, 255, 255, 255}));
  // Only the low five bits count: 33 shifts by one.
  Kel::CopyStraight(frame, sample, layout, 33);
  EXPECT_EQ(sample, (Bytes{0, 2, 4, 200, 254, 255, 255, 255}));
}

TEST(FrameCopy, SaveModeSkipsRowsTheSampleCannotHold) {
  const CopyLayout layout{1, 3, 3, true};
  const Bytes frame = countingFrame(1, 3, 3);
  Bytes sample(6, 0xEE);  // two rows of three
  Kel::CopyStraight(frame, sample, layout, 0);
  // Row 0 would land on row 2, outside the sample; rows 1 and 2 fit.
  EXPECT_EQ(sample, (Bytes{7, 8, 9, 4, 5, 6}));
}

}  // namespace
