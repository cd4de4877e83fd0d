// The film file source on a film recorded by the virtual grabber: the frames
// it saves, their times, the progress bar, the save queries and the end
// event, and what it does with a range or a film it cannot save.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

#include "filter/acquisition/settings_records.h"
#include "filter/processing/StFileSource.h"
#include "platform/kernel/event_handles.h"
#include "platform/win/messages.h"
#include "shared/identifiers.h"
#include "tests/filter/save/save_rig.h"

namespace {

using namespace kel::test;
using Buffer = Orvo::StOrvoSource::FrameBuffer;

struct Delivered {
  std::uint32_t strip;
  std::int32_t current;
  std::int64_t start;
  std::int64_t stop;
  bool finished;
};

class FileSourceTest : public ::testing::Test {
 protected:
  ~FileSourceTest() override { CloseHandle(endEvent); }

  std::unique_ptr<Orvo::StFileSource> saveSource(SaveRig& rig, std::int32_t first, std::int32_t last) {
    Orvo::Settings().save.firstFrame = first;
    Orvo::Settings().save.lastFrame = last;
    Orvo::Settings().save.saveWindow = bar.hwnd();
    rig.system().SetMode(&MODE_Save);
    auto source = std::make_unique<Orvo::StFileSource>(rig.holder(), notify.hwnd());
    source->SetBytesPerPixel(3);
    source->SetRunning(true);
    source->Start(endEvent);
    return source;
  }

  // createData until the stream ends (bounded, so a source that never ends
  // fails instead of hanging).
  std::vector<Delivered> runToEnd(Orvo::StFileSource& source, int limit = 500) {
    std::vector<Delivered> out;
    Buffer raw;
    for (int i = 0; i < limit && source.createData(raw); ++i) {
      const auto strip = stripOf(raw);
      out.push_back({strip ? *strip : 0xFFFFFFFFu, source.CurrentFrame(), source.SampleStart(), source.SampleStop(),
                     source.IsSaveFinished()});
    }
    return out;
  }

  bool endSignalled() const { return WaitForSingleObject(endEvent, 0) == WAIT_OBJECT_0; }

  SettingsGuard settings;
  BoxRecorder boxes;
  RecordingWindow notify;
  RecordingWindow bar;
  HANDLE endEvent = CreateEvent(nullptr, FALSE, FALSE, nullptr);
};

std::vector<std::uint32_t> framesFrom(std::uint32_t first, std::uint32_t last) {
  std::vector<std::uint32_t> v(last - first + 1);
  std::iota(v.begin(), v.end(), first);
  return v;
}

TEST_F(FileSourceTest, SavesFirstToLastInclusiveAt40MsStepsAndEndsOnce) {
  SaveRig rig(MODE_Input, {kSmallSensor, kFastClock});
  rig.recordFilm(12);
  auto source = saveSource(rig, 2, 9);
  EXPECT_EQ(source->FramesToWrite(), 8);
  EXPECT_EQ(source->Duration(), 8 * Orvo::StFileSource::kFrameDuration);
  EXPECT_FALSE(source->IsSaveFinished());

  const auto delivered = runToEnd(*source);
  std::vector<std::uint32_t> strips;
  for (const auto& d : delivered) strips.push_back(d.strip);
  EXPECT_EQ(strips, framesFrom(2, 9));
  for (std::size_t k = 0; k < delivered.size(); ++k) {
    EXPECT_EQ(delivered[k].current, static_cast<std::int32_t>(delivered[k].strip)) << k;
    EXPECT_EQ(delivered[k].start, static_cast<std::int64_t>(k) * 400000) << k;
    EXPECT_EQ(delivered[k].stop, static_cast<std::int64_t>(k + 1) * 400000) << k;
    // Finished exactly when the last frame is out, not a frame early.
    EXPECT_EQ(delivered[k].finished, k + 1 == delivered.size()) << k;
  }
  // The last sample ends where the stream's duration says.
  ASSERT_FALSE(delivered.empty());
  EXPECT_EQ(delivered.back().stop, source->Duration());
  EXPECT_EQ(source->FramesWritten(), source->FramesToWrite());

  EXPECT_TRUE(endSignalled());
  EXPECT_FALSE(endSignalled());
  Buffer raw;
  EXPECT_FALSE(source->createData(raw));
  EXPECT_FALSE(endSignalled());
  EXPECT_TRUE(source->IsSaveFinished());
  EXPECT_TRUE(notify.texts().empty());
}

TEST_F(FileSourceTest, ProgressBarFillsExactlyWithTheLastFrameOfTheFilm) {
  SaveRig rig(MODE_Input, {kSmallSensor, kFastClock});
  rig.recordFilm(6);
  const auto [lowest, highest] = rig.hw().range(0x400020, 0);
  auto source = saveSource(rig, lowest, highest);
  const auto messages = bar.received();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].message, PBM_SETRANGE);
  EXPECT_EQ(messages[0].wParam, 0u);
  const auto low = static_cast<int>(messages[0].lParam & 0xFFFF);
  const auto high = static_cast<int>((messages[0].lParam >> 16) & 0xFFFF);
  EXPECT_EQ(messages[1].message, PBM_SETSTEP);
  EXPECT_EQ(messages[1].wParam, 1u);
  EXPECT_EQ(messages[2].message, PBM_SETPOS);

  // The bar as a progress control keeps it: position clamped to the range.
  int position = std::clamp(static_cast<int>(messages[2].wParam), low, high);
  Buffer raw;
  int frames = 0;
  while (source->createData(raw)) {
    ++frames;
    const auto steps = bar.withMessage(PBM_STEPIT);
    ASSERT_EQ(steps.size(), static_cast<std::size_t>(frames));
    position = std::min(position + 1, high);
    // Full only once every frame is written.
    EXPECT_EQ(position == high, frames == source->FramesToWrite()) << frames;
  }
  EXPECT_EQ(frames, highest - lowest + 1);
  EXPECT_EQ(position, high);
}

TEST_F(FileSourceTest, RangeTheFilmCannotGiveIsRefusedWithoutAFrame) {
  SaveRig rig(MODE_Input, {kSmallSensor, kFastClock});
  rig.recordFilm(5);
  struct Case {
    std::int32_t first, last;
    const char* says;
  };
  for (const Case c : {Case{3, 5, "выходит за пределы фильма 0..4"}, Case{-1, 2, "выходит за пределы фильма 0..4"},
                       Case{4, 1, "первый кадр 4 больше последнего 1"}}) {
    SCOPED_TRACE(std::to_string(c.first) + ".." + std::to_string(c.last));
    auto source = saveSource(rig, c.first, c.last);
    Buffer raw;
    EXPECT_FALSE(source->createData(raw));
    EXPECT_TRUE(endSignalled());
    EXPECT_FALSE(source->createData(raw));
    EXPECT_FALSE(endSignalled());
    EXPECT_EQ(source->FramesWritten(), 0);
    EXPECT_EQ(source->FramesToWrite(), 0);
    EXPECT_FALSE(source->IsSaveFinished());
    const auto texts = notify.texts();
    ASSERT_FALSE(texts.empty());
    EXPECT_NE(texts.back().find(c.says), std::string::npos) << texts.back();
  }
  EXPECT_EQ(notify.texts().size(), 3u);
  EXPECT_TRUE(bar.received().empty());
}

TEST_F(FileSourceTest, NoFilmInMemoryIsRefused) {
  SaveRig rig(MODE_Input, {kSmallSensor, kFastClock});
  auto source = saveSource(rig, 0, 0);
  Buffer raw;
  EXPECT_FALSE(source->createData(raw));
  EXPECT_TRUE(endSignalled());
  const auto texts = notify.texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find("нет записанного фильма"), std::string::npos) << texts[0];
}

TEST_F(FileSourceTest, FilmStillBeingRecordedIsRefused) {
  SaveRig rig(MODE_Input, {kSmallSensor});
  rig.hw().setScalar(0x400007, 1000, 0);
  rig.hw().setEnum(0x400005, 4);  // recording goes on until stopped
  rig.hw().setEnum(0x400004, 4);
  rig.system().StartInput();
  ASSERT_EQ(rig.hw().status().state, static_cast<std::uint32_t>(KELLIB3_STATE_RECORDING));
  auto source = saveSource(rig, 0, 0);
  Buffer raw;
  EXPECT_FALSE(source->createData(raw));
  EXPECT_TRUE(endSignalled());
  const auto texts = notify.texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find("ещё записывается"), std::string::npos) << texts[0];
  EXPECT_TRUE(bar.received().empty());
  rig.system().StopInput(true);
}

TEST_F(FileSourceTest, StoppedSaveEndsIncompleteAndSignalsOnce) {
  SaveRig rig(MODE_Input, {kSmallSensor, kFastClock});
  rig.recordFilm(10);
  auto source = saveSource(rig, 0, 9);
  Buffer raw;
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(source->createData(raw));
  source->SetRunning(false);
  EXPECT_FALSE(source->createData(raw));
  EXPECT_TRUE(endSignalled());
  EXPECT_FALSE(source->createData(raw));
  EXPECT_FALSE(endSignalled());
  EXPECT_EQ(source->FramesWritten(), 3);
  EXPECT_EQ(source->FramesToWrite(), 10);
  EXPECT_FALSE(source->IsSaveFinished());
}

TEST_F(FileSourceTest, LibraryErrorIsPostedAndEndsTheSave) {
  // Four transfers make a frame: the sixth is the second part of frame 2.
  SaveRig rig(MODE_Input, {kSmallSensor, kFastClock, {"KELLIB3_FAIL", "InDInterfaceStartDma:6"}});
  rig.recordFilm(8);
  auto source = saveSource(rig, 1, 6);
  const auto delivered = runToEnd(*source);
  ASSERT_EQ(delivered.size(), 1u);
  EXPECT_EQ(delivered[0].strip, 1u);
  EXPECT_TRUE(endSignalled());
  EXPECT_FALSE(source->IsSaveFinished());
  const auto texts = notify.texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find("in File: StFileSource Line: 112"), std::string::npos) << texts[0];
}

TEST_F(FileSourceTest, WithoutAnEndEventTheStreamStillEndsAfterTheLastFrame) {
  SaveRig rig(MODE_Input, {kSmallSensor, kFastClock});
  rig.recordFilm(4);
  auto source = saveSource(rig, 0, 3);
  source->Start(nullptr);
  const auto delivered = runToEnd(*source);
  EXPECT_EQ(delivered.size(), 4u);
  EXPECT_TRUE(source->IsSaveFinished());
  EXPECT_FALSE(endSignalled());
}

TEST_F(FileSourceTest, EveryStartIsAFreshRun) {
  SaveRig rig(MODE_Input, {kSmallSensor, kFastClock});
  rig.recordFilm(6);
  auto source = saveSource(rig, 0, 2);
  EXPECT_EQ(runToEnd(*source).size(), 3u);
  EXPECT_TRUE(endSignalled());
  Orvo::Settings().save.firstFrame = 3;
  Orvo::Settings().save.lastFrame = 5;
  source->Start(endEvent);
  EXPECT_EQ(source->FramesWritten(), 0);
  EXPECT_EQ(source->NextFrame(), 3);
  const auto again = runToEnd(*source);
  ASSERT_EQ(again.size(), 3u);
  EXPECT_EQ(again.front().strip, 3u);
  EXPECT_EQ(again.front().start, 0);
  EXPECT_TRUE(endSignalled());
}

}  // namespace
