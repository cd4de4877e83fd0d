// The whole frame path in one process, as the shell drives it: live frames
// in set-up mode, a recording in input mode that ends with the end event,
// playback of that film in both directions, quick stop/start cycles and an
// option written while frames flow.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "shared/identifiers.h"
#include "shared/property_interfaces.h"
#include "tests/filter/capture/graph_rig.h"

namespace kel::test {
namespace {

// The strip numbers of the next `count` frames.
std::vector<std::uint32_t> nextNumbers(GraphRig& rig, std::size_t count) {
  std::vector<std::uint32_t> out;
  plat::VideoFrame frame;
  while (out.size() < count && rig.nextFrame(frame)) {
    const auto number = stripAtTop(frame);
    EXPECT_TRUE(number.has_value());
    out.push_back(number.value_or(0xFFFFFFFFu));
  }
  EXPECT_EQ(out.size(), count);
  return out;
}

// Steps between frames shown one after another in a film of `length`
// frames: forward steps are small positive ones (modulo the length).
int stepBetween(std::uint32_t from, std::uint32_t to, std::uint32_t length) {
  const int d = static_cast<int>((to + length - from) % length);
  return d <= static_cast<int>(length / 2) ? d : d - static_cast<int>(length);
}

TEST(CaptureEndToEnd, SetupGraphDeliversAdvancingLiveFrames) {
  GraphRig rig;
  ASSERT_EQ(rig.build(MODE_Setup), S_OK);
  ASSERT_EQ(rig.run(), S_OK);
  const auto numbers = nextNumbers(rig, 4);
  for (std::size_t i = 1; i < numbers.size(); ++i) EXPECT_GT(numbers[i], numbers[i - 1]);
  EXPECT_TRUE(rig.stop());
  EXPECT_TRUE(rig.texts().empty());
}

TEST(CaptureEndToEnd, RecordingEndsWithTheEventAndPlaysBackBothWays) {
  constexpr std::uint32_t kFrames = 40;
  GraphRig rig;
  ASSERT_TRUE(rig.recordFilm(kFrames));
  ComPtr<IScalarProperty> range;
  ASSERT_EQ(rig.camera()->GetScalar(0x400020, 0, range.put()), S_OK);
  LONG last = -1;
  ASSERT_EQ(range->GetMaxValue(&last, 0), S_OK);
  EXPECT_EQ(last, static_cast<LONG>(kFrames - 1));

  ASSERT_EQ(rig.build(MODE_Preview), S_OK);
  ComPtr<IMediaSeekingLocal> seeking;
  ASSERT_EQ(ComPtr<IBaseFilter>(rig.cameraFilter()).as(IID_IMediaSeekingLocal, seeking), S_OK);
  ASSERT_EQ(rig.run(), S_OK);

  // The film frames shown, each different from the one before: playback
  // repeats a frame until its 40 ms (at rate 1) have passed.
  const auto changes = [&](std::size_t count) {
    std::vector<std::uint32_t> out = nextNumbers(rig, 1);
    while (!out.empty() && out.size() < count) {
      const auto next = nextNumbers(rig, 1);
      if (next.empty()) break;
      if (next.front() != out.back()) out.push_back(next.front());
    }
    return out;
  };
  const auto direction = [&](std::size_t frames) {
    int sum = 0, backwards = 0, forwards = 0;
    auto numbers = changes(frames);
    EXPECT_EQ(numbers.size(), frames);
    for (std::size_t i = 1; i < numbers.size(); ++i) {
      EXPECT_LT(numbers[i], kFrames);
      const int step = stepBetween(numbers[i - 1], numbers[i], kFrames);
      sum += step;
      backwards += step < 0 ? 1 : 0;
      forwards += step > 0 ? 1 : 0;
    }
    return std::tuple{sum, forwards, backwards};
  };
  const auto [forward, forwardSteps, backwardSteps] = direction(6);
  EXPECT_GT(forward, 0);
  EXPECT_EQ(forwardSteps, 5);
  EXPECT_EQ(backwardSteps, 0);

  ASSERT_EQ(seeking->SetRate(-1.0), S_OK);
  changes(3);  // frames chosen before the rate changed
  const auto [backward, stepsOn, stepsBack] = direction(6);
  EXPECT_LT(backward, 0);
  EXPECT_EQ(stepsOn, 0);
  EXPECT_EQ(stepsBack, 5);
  EXPECT_TRUE(rig.stop());
  EXPECT_TRUE(rig.texts().empty()) << rig.texts().front();
}

TEST(CaptureEndToEnd, QuickStopsAndStartsKeepDelivering) {
  GraphRig rig;
  ASSERT_EQ(rig.build(MODE_Setup), S_OK);
  for (int i = 0; i < 25; ++i) {
    ASSERT_EQ(rig.run(), S_OK) << "cycle " << i;
    ASSERT_TRUE(rig.stop()) << "cycle " << i;
  }
  ASSERT_EQ(rig.run(), S_OK);
  EXPECT_EQ(nextNumbers(rig, 2).size(), 2u);
  EXPECT_TRUE(rig.stop());
}

TEST(CaptureEndToEnd, OptionWrittenWhileStreamingTakesEffectBetweenFrames) {
  GraphRig rig;
  ASSERT_EQ(rig.build(MODE_Setup), S_OK);
  ASSERT_EQ(rig.run(), S_OK);
  nextNumbers(rig, 1);
  ComPtr<IScalarProperty> gain;
  ASSERT_EQ(rig.camera()->GetScalar(0x40000a, 0, gain.put()), S_OK);
  LONG lo = 0, hi = 0;
  ASSERT_EQ(gain->GetMinValue(&lo, 0), S_OK);
  ASSERT_EQ(gain->GetMaxValue(&hi, 0), S_OK);
  for (LONG v : {hi, lo, hi}) {
    EXPECT_EQ(gain->SetValue(v, 0), S_OK);
    LONG back = v - 1;
    EXPECT_EQ(gain->GetValue(&back, 0), S_OK);
    EXPECT_EQ(back, v);
    EXPECT_EQ(nextNumbers(rig, 1).size(), 1u);
  }
  EXPECT_TRUE(rig.stop());
  EXPECT_TRUE(rig.texts().empty());
}

}  // namespace
}  // namespace kel::test
