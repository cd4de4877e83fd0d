// Playback arithmetic: the frame due at a tick for every rate, pause, seek
// and film length, on a clock the test sets.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "filter/processing/preview_playback.h"

namespace {

using Orvo::PreviewPlayback;

// Frames chosen at the ticks `from`, `from + step`, ... (`count` of them).
std::vector<std::int32_t> framesAt(PreviewPlayback& p, std::uint32_t from, std::uint32_t step, int count) {
  std::vector<std::int32_t> out;
  for (int i = 0; i < count; ++i) out.push_back(p.Next(from + static_cast<std::uint32_t>(i) * step));
  return out;
}

// A film of first ... last, positioned at `at` at tick `now`.
void film(PreviewPlayback& p, std::int32_t first, std::int32_t last, std::int32_t at, std::uint32_t now) {
  p.SetRange(first, last);
  p.Seek(at, now);
}

TEST(PreviewPlayback, ForwardPlayShowsEveryFrameOfTheFilmAndWraps) {
  PreviewPlayback p;
  film(p, 10, 13, 10, 0);
  EXPECT_EQ(framesAt(p, 0, 40, 9), (std::vector<std::int32_t>{10, 11, 12, 13, 10, 11, 12, 13, 10}));
  // Between the 40 ms marks the frame stays.
  EXPECT_EQ(p.Next(39), 10);
  EXPECT_EQ(p.Next(119), 12);
  EXPECT_EQ(p.Current(), 12);
}

TEST(PreviewPlayback, RateScalesTheFrameInterval) {
  PreviewPlayback p;
  film(p, 0, 99, 5, 1000);
  p.SetRate(2.0, 1000);
  EXPECT_EQ(framesAt(p, 1000, 20, 4), (std::vector<std::int32_t>{5, 6, 7, 8}));
  p.SetRate(0.5, 2000);
  EXPECT_EQ(framesAt(p, 2000, 40, 5), (std::vector<std::int32_t>{8, 8, 9, 9, 10}));
  // Rate 0 keeps showing where the run started.
  p.SetRate(0.0, 3000);
  EXPECT_EQ(framesAt(p, 3000, 1000, 3), (std::vector<std::int32_t>{10, 10, 10}));
}

TEST(PreviewPlayback, BackwardPlayCountsDownAndWrapsFromFirstToLast) {
  PreviewPlayback p;
  film(p, 10, 13, 11, 0);
  p.SetRate(-1.0, 0);
  EXPECT_EQ(framesAt(p, 0, 40, 7), (std::vector<std::int32_t>{11, 10, 13, 12, 11, 10, 13}));
}

TEST(PreviewPlayback, PausedSeekHoldsTheFrameAndResumeContinuesFromIt) {
  PreviewPlayback p;
  film(p, 0, 99, 0, 0);
  EXPECT_EQ(p.Next(80), 2);
  p.Pause();
  p.Seek(10, 100);
  EXPECT_EQ(framesAt(p, 100, 1000, 3), (std::vector<std::int32_t>{10, 10, 10}));
  p.Resume(5000);
  EXPECT_FALSE(p.Paused());
  EXPECT_EQ(framesAt(p, 5000, 40, 3), (std::vector<std::int32_t>{10, 11, 12}));
}

TEST(PreviewPlayback, RateChangeWhilePlayingDoesNotJump) {
  PreviewPlayback p;
  film(p, 0, 999, 0, 0);
  EXPECT_EQ(p.Next(400), 10);
  // 100 ms after the last frame was chosen, the new run starts from it.
  p.SetRate(-2.0, 500);
  EXPECT_EQ(p.Next(500), 10);
  EXPECT_EQ(p.Next(520), 9);
  EXPECT_EQ(p.Rate(), -2.0);
}

TEST(PreviewPlayback, OneFrameFilmShowsTheCurrentPosition) {
  PreviewPlayback p;
  p.SetRange(7, 7);
  EXPECT_EQ(framesAt(p, 0, 40, 3), (std::vector<std::int32_t>{0, 0, 0})) << "no seek yet";
  p.Seek(7, 0);
  EXPECT_EQ(framesAt(p, 0, 40, 3), (std::vector<std::int32_t>{7, 7, 7}));
  p.SetRate(-1.0, 0);
  EXPECT_EQ(p.Next(400), 7);
}

TEST(PreviewPlayback, TickCounterWrapStillCountsForward) {
  const std::uint32_t nearWrap = 0xFFFFFFFFu - 39;  // 40 ms before the counter wraps
  PreviewPlayback p;
  film(p, 0, 9, 8, nearWrap);
  EXPECT_EQ(p.Next(nearWrap), 8);
  EXPECT_EQ(p.Next(0), 9);
  EXPECT_EQ(p.Next(40), 0);
}

TEST(PreviewPlayback, HugeElapsedTimesAndOddRatesStayInTheFilm) {
  PreviewPlayback p;
  film(p, 100, 104, 102, 0);
  p.SetRate(1e12, 0);
  for (std::uint32_t t : {1u, 40u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
    const auto f = p.Next(t);
    EXPECT_GE(f, 100);
    EXPECT_LE(f, 104);
  }
  p.SetRate(std::numeric_limits<double>::quiet_NaN(), 0);
  EXPECT_GE(p.Next(4000), 100);
  EXPECT_LE(p.Next(4000), 104);
}

}  // namespace
