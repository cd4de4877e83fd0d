// Grabber memory: recording with each start and stop event, the frame range
// and the selection of the frame a cycle transfers.
#include <gtest/gtest.h>

#include "tests/kellib3/session.h"

namespace kel::test {
namespace {

constexpr std::uint32_t kStart = 0x400004, kStop = 0x400005, kFrames = 0x400007, kPartitions = 0x400009,
                        kFrameRange = 0x400020;

class Recording : public ::testing::Test {
 protected:
  void useEnv(double scale, std::vector<std::pair<std::string, std::string>> extra = {}) {
    extra.emplace_back("KELLIB3_SIZE", "320x240");
    env = std::make_unique<SessionEnv>(dir.path(), scale, std::move(extra));
  }
  // Film mode with the given events and count, as the filter's input mode sets it.
  void armFilm(Session& s, std::int32_t start, std::int32_t stop, std::int32_t frames) {
    ASSERT_EQ(s.setScalar(kPartitions, 1, 0), 0) << s.lastError();
    ASSERT_EQ(s.setScalar(kFrames, frames, KELLIB3_UNIT_FRAMES), 0) << s.lastError();
    ASSERT_EQ(s.setEnum(kStart, start), 0) << s.lastError();
    ASSERT_EQ(s.setEnum(kStop, stop), 0) << s.lastError();
  }
  TempDir dir;
  std::unique_ptr<SessionEnv> env;
};

TEST_F(Recording, StopsAfterFramesToRecordWithEitherCountingEvent) {
  useEnv(1e6);
  Session s;
  for (std::int32_t stopEvent : {37, 5}) {
    armFilm(s, 4, stopEvent, 1000);
    EXPECT_EQ(s.range(kFrameRange, 0), std::make_pair(-1, -1)) << "memory was freed";
    s.startInput();
    ASSERT_TRUE(s.waitForState(KELLIB3_STATE_IDLE));
    const auto b = s.status();
    EXPECT_EQ(b.framesRecorded, 1000);
    EXPECT_EQ(s.range(kFrameRange, 0), std::make_pair(0, 999));
    s.stopInput();  // a finished film is not changed by a late stop
    EXPECT_EQ(s.range(kFrameRange, 0), std::make_pair(0, 999));
  }
}

TEST_F(Recording, StopOnCommandRecordsUntilStoppedAndKeepsTheRange) {
  useEnv(1e3);
  Session s;
  armFilm(s, 4, 4, 10);
  s.startInput();
  const auto in = s.input();
  std::pair<std::int32_t, std::int32_t> r{-1, -1};
  for (int i = 0; i < 100000 && r.second < 20; ++i) {
    EXPECT_EQ(s.state(), static_cast<std::uint32_t>(KELLIB3_STATE_RECORDING)) << "frames to record ignored";
    ASSERT_EQ(KelLib3InDInterfaceWait(in, 100, s.error()), 0);
    r = s.range(kFrameRange, 0);
  }
  ASSERT_GE(r.second, 20);
  s.stopInput();
  ASSERT_TRUE(s.waitForState(KELLIB3_STATE_IDLE));
  const auto finalRange = s.range(kFrameRange, 0);
  const auto b = s.status();
  // Memory keeps the newest frames when more were taken than it holds.
  EXPECT_EQ(finalRange.second, b.framesRecorded - 1);
  EXPECT_EQ(finalRange.second - finalRange.first + 1, std::min(b.framesRecorded, b.capacity));
  EXPECT_GE(finalRange.second, r.second);
  ASSERT_EQ(KelLib3InDInterfaceWait(in, 100, s.error()), 0);
  EXPECT_EQ(s.range(kFrameRange, 0), finalRange);
}

TEST_F(Recording, StopOnCommandKeepsTheNewestFramesWhenMemoryIsFull) {
  useEnv(1e7);
  Session s;
  armFilm(s, 4, 4, 10);
  s.startInput();
  const auto in = s.input();
  KelLib3StatusBlock b = s.status();
  for (int i = 0; i < 100000 && b.framesRecorded <= b.capacity + 10; ++i) {
    ASSERT_EQ(KelLib3InDInterfaceWait(in, 1000, s.error()), 0);
    b = s.status();
  }
  s.stopInput();
  ASSERT_TRUE(s.waitForState(KELLIB3_STATE_IDLE));
  b = s.status();
  ASSERT_GT(b.framesRecorded, b.capacity);
  EXPECT_EQ(s.range(kFrameRange, 0), std::make_pair(b.framesRecorded - b.capacity, b.framesRecorded - 1));
  ASSERT_EQ(s.setScalar(kFrameRange, 0, 0), 0);
  EXPECT_EQ(s.scalar(kFrameRange, 0), b.framesRecorded - b.capacity) << "overwritten frames cannot be selected";
}

TEST_F(Recording, ExternalTriggerStartsTheFilmAndNoTriggerWaitsUntilStopped) {
  useEnv(100, {{"KELLIB3_TRIGGER_MS", "10000"}});
  {
    Session s;
    armFilm(s, 5, 37, 10);
    s.startInput();
    EXPECT_EQ(s.state(), static_cast<std::uint32_t>(KELLIB3_STATE_WAIT_TRIGGER));
    EXPECT_EQ(s.range(kFrameRange, 0), std::make_pair(-1, -1));
    ASSERT_TRUE(s.waitForState(KELLIB3_STATE_IDLE));
    EXPECT_EQ(s.range(kFrameRange, 0), std::make_pair(0, 9));
  }
  env.reset();
  useEnv(1e6);  // no trigger is ever fired
  Session s;
  armFilm(s, 5, 37, 10);
  s.startInput();
  const auto in = s.input();
  for (int i = 0; i < 50; ++i) ASSERT_EQ(KelLib3InDInterfaceWait(in, 1000, s.error()), 0);
  EXPECT_EQ(s.state(), static_cast<std::uint32_t>(KELLIB3_STATE_WAIT_TRIGGER));
  s.stopInput();
  EXPECT_EQ(s.state(), static_cast<std::uint32_t>(KELLIB3_STATE_IDLE));
  EXPECT_EQ(s.range(kFrameRange, 0), std::make_pair(-1, -1));
}

TEST_F(Recording, WritingTheFrameOptionSelectsTheTransferredFilmFrame) {
  useEnv(1e6);
  Session s;
  armFilm(s, 4, 37, 20);
  s.startInput();
  ASSERT_TRUE(s.waitForState(KELLIB3_STATE_IDLE));
  for (auto [written, expected] : {std::pair{7, 7}, {100, 19}, {-3, 0}, {19, 19}}) {
    ASSERT_EQ(s.setScalar(kFrameRange, written, 0), 0) << s.lastError();
    EXPECT_EQ(s.scalar(kFrameRange, 0), expected);
    const auto t = s.transfer();
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->stripNumber, std::optional<std::uint32_t>(expected)) << "written " << written;
    EXPECT_EQ(t->frameAttribute, expected);
    EXPECT_EQ(t->orientation, 0);
  }
}

TEST_F(Recording, PlaybackKeepsTheFilmUntilMemoryIsReorganised) {
  useEnv(1e6);
  Session s;
  armFilm(s, 4, 37, 5);
  s.startInput();
  ASSERT_TRUE(s.waitForState(KELLIB3_STATE_IDLE));
  s.startInput();  // preview starts input again: the film must stay
  EXPECT_EQ(s.state(), static_cast<std::uint32_t>(KELLIB3_STATE_IDLE));
  EXPECT_EQ(s.range(kFrameRange, 0), std::make_pair(0, 4));
  ASSERT_EQ(s.setScalar(kPartitions, 1, 0), 0);  // entering input mode again
  EXPECT_EQ(s.range(kFrameRange, 0), std::make_pair(-1, -1));
}

TEST_F(Recording, LiveModeDeliversNewerFramesAndIgnoresTheFrameSelection) {
  useEnv(1e4, {{"KELLIB3_ORIENTATION", "180"}});
  Session s;
  ASSERT_EQ(s.setScalar(kPartitions, 2, 0), 0);
  EXPECT_EQ(s.state(), static_cast<std::uint32_t>(KELLIB3_STATE_IDLE));
  const auto r = s.range(kFrameRange, 0);
  EXPECT_GE(r.first, 0);
  EXPECT_GE(r.second, 0);
  EXPECT_FALSE(s.transfer().has_value()) << "no live frame before input starts";
  s.startInput();
  ASSERT_EQ(s.setScalar(kFrameRange, 0, 0), 0);  // the visible-frame period, not a frame
  const auto first = s.transfer();
  ASSERT_TRUE(first.has_value());
  ASSERT_EQ(KelLib3InDInterfaceWait(s.input(), 100, s.error()), 0);
  const auto second = s.transfer();
  ASSERT_TRUE(second.has_value());
  ASSERT_TRUE(first->stripNumber && second->stripNumber);
  EXPECT_EQ(*first->stripNumber, static_cast<std::uint32_t>(first->frameAttribute));
  EXPECT_GT(*second->stripNumber, *first->stripNumber);
  EXPECT_EQ(second->orientation, 180);
  s.stopInput();
  EXPECT_EQ(s.state(), static_cast<std::uint32_t>(KELLIB3_STATE_IDLE));
}

TEST_F(Recording, GeometryCannotChangeWhileRecordingButExposureCan) {
  useEnv(1e3);
  Session s;
  armFilm(s, 4, 4, 10);
  s.startInput();
  ASSERT_EQ(s.state(), static_cast<std::uint32_t>(KELLIB3_STATE_RECORDING));
  EXPECT_EQ(s.setRect(0, 0, 160, 120), 16);
  EXPECT_NE(s.lastError().find("while a film is recorded"), std::string::npos) << s.lastError();
  EXPECT_EQ(s.setScalar(0x400003, 4000, KELLIB3_UNIT_US), 16);
  EXPECT_EQ(s.setScalar(0x400002, 100, KELLIB3_UNIT_US), 0) << s.lastError();
  s.stopInput();
}

}  // namespace
}  // namespace kel::test
