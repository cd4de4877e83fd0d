// The record source: the newest recorded frame while the grabber records,
// the end event once recording has finished, the wait for an external
// trigger, and the texts that end the stream.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filter/acquisition/StRecordSource.h"
#include "platform/kernel/event_handles.h"
#include "platform/kernel/tick_count.h"
#include "shared/identifiers.h"
#include "tests/filter/sources/source_rig.h"

namespace {

using namespace kel::test;
using Buffer = Orvo::StOrvoSource::FrameBuffer;

constexpr std::int32_t kStartByCommand = 4;
constexpr std::int32_t kStartByTrigger = 5;
constexpr std::int32_t kStopAfterCount = 37;

// An auto-reset end event as the shell makes it, closed at the end.
class EndEvent {
 public:
  EndEvent() : handle_(CreateEvent(nullptr, FALSE, FALSE, nullptr)) {}
  ~EndEvent() { CloseHandle(handle_); }
  HANDLE get() const { return handle_; }
  bool signalled() const { return WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0; }

 private:
  HANDLE handle_;
};

class RecordSourceTest : public ::testing::Test {
 protected:
  std::unique_ptr<Orvo::StRecordSource> source(SourceRig& rig) {
    auto s = std::make_unique<Orvo::StRecordSource>(rig.holder(), window.hwnd());
    s->SetBytesPerPixel(3);
    s->SetEndEvent(end.get());
    s->SetRunning(true);
    return s;
  }
  // A film of `frames` frames, started by command or by the trigger.
  static void arm(SourceRig& rig, std::int32_t frames, std::int32_t startEvent) {
    rig.hw().setScalar(0x400007, frames, 0);
    rig.hw().setEnum(0x400005, kStopAfterCount);
    rig.hw().setEnum(0x400004, startEvent);
  }

  SettingsGuard settings;
  TextWindow window;
  EndEvent end;
};

TEST_F(RecordSourceTest, SourceNeverRunProducesNoFrameAndKeepsTheEvent) {
  SourceRig rig(MODE_Input, {kSmallSensor});
  auto s = source(rig);
  s->SetRunning(false);
  Buffer raw;
  EXPECT_FALSE(s->createData(raw));
  EXPECT_TRUE(raw.empty());
  EXPECT_FALSE(end.signalled());
  EXPECT_EQ(s->EndEvent(), end.get());
}

TEST_F(RecordSourceTest, FinishedRecordingSignalsTheEndEventExactlyOnce) {
  // Nothing recording: the grabber is idle at the first call.
  SourceRig rig(MODE_Input, {kSmallSensor});
  auto s = source(rig);
  Buffer raw;
  EXPECT_FALSE(s->createData(raw));
  EXPECT_TRUE(raw.empty());
  EXPECT_TRUE(end.signalled());
  EXPECT_EQ(s->EndEvent(), nullptr);
  EXPECT_FALSE(s->createData(raw));
  EXPECT_FALSE(end.signalled()) << "signalled a second time";
  EXPECT_TRUE(window.texts().empty());
}

TEST_F(RecordSourceTest, ShowsTheNewestFrameUntilTheFilmIsRecorded) {
  // 100 frames of 1 ms, ten times real speed: 10 ms of recording.
  SourceRig rig(MODE_Input, {kSmallSensor, {"KELLIB3_TIME_SCALE", "10"}});
  rig.hw().setScalar(0x400003, 1000, KELLIB3_UNIT_US);
  constexpr std::int32_t kFrames = 100;
  arm(rig, kFrames, kStartByCommand);
  auto s = source(rig);
  rig.system().StartInput();

  Buffer raw;
  std::vector<std::uint32_t> shown;
  while (s->createData(raw)) {
    const auto number = stripOf(raw, kWidth, kHeight, 3);
    ASSERT_TRUE(number.has_value());
    // The frame written into the frame-range option was its maximum then.
    EXPECT_EQ(*number, static_cast<std::uint32_t>(rig.hw().scalar(0x400020, 0)));
    if (!shown.empty()) {
      EXPECT_GE(*number, shown.back());
    }
    shown.push_back(*number);
  }
  ASSERT_FALSE(shown.empty());
  EXPECT_LT(shown.back(), static_cast<std::uint32_t>(kFrames));
  EXPECT_EQ(rig.hw().status().framesRecorded, kFrames);
  EXPECT_TRUE(end.signalled());
  EXPECT_FALSE(s->createData(raw));
  EXPECT_FALSE(end.signalled());
  EXPECT_TRUE(window.texts().empty());
}

TEST_F(RecordSourceTest, WaitForTheTriggerRestartsWhileTheStartEventIsTheTrigger) {
  // The trigger fires 200 ms after the start; the injected clock passes a
  // second at every look, so the 5000 ms wait restarts many times first.
  SourceRig rig(MODE_Input, {kSmallSensor, {"KELLIB3_TRIGGER_MS", "200"}});
  arm(rig, 10, kStartByTrigger);
  auto s = source(rig);
  rig.system().StartInput();
  ASSERT_EQ(rig.hw().status().state, static_cast<std::uint32_t>(KELLIB3_STATE_WAIT_TRIGGER));

  DWORD now = 0;
  Buffer raw;
  bool produced = false;
  {
    plat::ScopedTickSource ticks([&] { return now += 1000; });
    produced = s->createData(raw);
  }
  EXPECT_TRUE(produced);
  EXPECT_GT(now, 10000u) << "the wait outlasted two time-outs";
  EXPECT_TRUE(stripOf(raw, kWidth, kHeight, 3).has_value());
  EXPECT_TRUE(window.texts().empty());
}

TEST_F(RecordSourceTest, WaitWithoutATriggerStartEventTimesOut) {
  SourceRig rig(MODE_Input, {kSmallSensor});
  arm(rig, 10, kStartByTrigger);
  rig.system().StartInput();
  // The film stays armed for its trigger; the option no longer says so.
  rig.hw().setEnum(0x400004, kStartByCommand);
  ASSERT_EQ(rig.hw().status().state, static_cast<std::uint32_t>(KELLIB3_STATE_WAIT_TRIGGER));
  auto s = source(rig);

  DWORD now = 0;
  Buffer raw;
  bool produced = true;
  {
    plat::ScopedTickSource ticks([&] { return now += 1000; });
    produced = s->createData(raw);
  }
  EXPECT_FALSE(produced);
  EXPECT_FALSE(end.signalled());
  const auto& texts = window.texts();
  ASSERT_EQ(texts.size(), 1u);
  const std::string head = "min < 0 || max < 0 & Time out \nTransfer control status: 5\nFile: StRecordSource\nLine: ";
  EXPECT_EQ(texts[0].text.rfind(head, 0), 0u) << texts[0].text;
  EXPECT_TRUE(texts[0].freed);
}

TEST_F(RecordSourceTest, LibraryErrorIsPostedAndEndsTheStreamWithoutABox) {
  SourceRig rig(MODE_Input, {kSmallSensor, {"KELLIB3_FAIL", "InDInterfaceQueryReady:1"}});
  arm(rig, 1000, kStartByCommand);
  auto s = source(rig);
  rig.system().StartInput();
  BoxRecorder boxes;
  Buffer raw;
  EXPECT_FALSE(s->createData(raw));
  const auto& texts = window.texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text.rfind("Error: \"KELLIB3 ", 0), 0u) << texts[0].text;
  EXPECT_NE(texts[0].text.find("in File: StRecordSource Line: "), std::string::npos) << texts[0].text;
  EXPECT_EQ(boxes.count(), 0u);
}

}  // namespace
