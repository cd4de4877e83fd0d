// The playback source on a film recorded by the virtual grabber: the frames
// it transfers are the frames the playback arithmetic chose.
#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "filter/acquisition/settings_records.h"
#include "filter/processing/StPreviewSource.h"
#include "platform/kernel/tick_count.h"
#include "shared/identifiers.h"
#include "tests/filter/sources/source_rig.h"

namespace {

using namespace kel::test;
using Buffer = Orvo::StOrvoSource::FrameBuffer;

const EnvVar kVeryFast{"KELLIB3_TIME_SCALE", "1000000"};

class PreviewSourceTest : public ::testing::Test {
 protected:
  // Records a film of `frames` frames, then enters preview mode as the pin
  // does: a source on the film's range.
  std::unique_ptr<Orvo::StPreviewSource> playFilm(SourceRig& rig, std::int32_t frames) {
    rig.hw().setScalar(0x400007, frames, 0);
    rig.hw().setEnum(0x400005, 37);
    rig.hw().setEnum(0x400004, 4);
    rig.system().StartInput();
    rig.waitUntilRecorded();
    rig.system().SetMode(&MODE_Preview);
    auto source = std::make_unique<Orvo::StPreviewSource>(rig.holder(), window.hwnd());
    source->SetBytesPerPixel(3);
    const auto [first, last] = rig.hw().range(0x400020, 0);
    source->SetRange(first, last);
    return source;
  }

  // The frame number each createData shows, one call per tick in `ticks`.
  std::vector<std::uint32_t> shownAt(Orvo::StPreviewSource& source, std::initializer_list<DWORD> ticks) {
    std::vector<std::uint32_t> out;
    Buffer raw;
    for (DWORD t : ticks) {
      now = t;
      if (!source.createData(raw)) {
        ADD_FAILURE() << "no frame at tick " << t;
        break;
      }
      const auto number = stripOf(raw, kWidth, kHeight, 3);
      out.push_back(number ? *number : 0xFFFFFFFFu);
    }
    return out;
  }

  SettingsGuard settings;
  TextWindow window;
  std::atomic<DWORD> now{0};
  plat::ScopedTickSource ticks{[this] { return now.load(); }};
};

TEST_F(PreviewSourceTest, RangeComesFromTheFilmAndEveryFrameIsPlayedForwards) {
  SourceRig rig(MODE_Input, {kSmallSensor, kVeryFast});
  auto source = playFilm(rig, 5);
  EXPECT_EQ(Orvo::Settings().save.firstFrame.load(), 0);
  EXPECT_EQ(Orvo::Settings().save.lastFrame.load(), 4);
  EXPECT_EQ(source->FirstFrame(), 0);
  EXPECT_EQ(source->LastFrame(), 4);
  EXPECT_EQ(shownAt(*source, {0, 40, 80, 120, 160, 200, 240}), (std::vector<std::uint32_t>{0, 1, 2, 3, 4, 0, 1}));
  EXPECT_EQ(source->CurrentPosition(), 1);
  EXPECT_TRUE(window.texts().empty());
}

TEST_F(PreviewSourceTest, BackwardPlayTransfersTheLastFrameAfterTheFirst) {
  SourceRig rig(MODE_Input, {kSmallSensor, kVeryFast});
  auto source = playFilm(rig, 5);
  source->SetRate(-1.0);
  EXPECT_EQ(shownAt(*source, {0, 40, 80, 200}), (std::vector<std::uint32_t>{0, 4, 3, 0}));
}

TEST_F(PreviewSourceTest, PlayerOperationsWhileStreamingReachTheNextFrames) {
  SourceRig rig(MODE_Input, {kSmallSensor, kVeryFast});
  auto source = playFilm(rig, 8);
  std::mutex mutex;
  std::condition_variable shown;
  std::vector<std::uint32_t> frames;
  std::atomic<bool> stop{false};
  std::thread streaming([&] {
    Buffer raw;
    while (!stop && source->createData(raw)) {
      const auto number = stripOf(raw, kWidth, kHeight, 3);
      std::lock_guard lock(mutex);
      frames.push_back(number ? *number : 0xFFFFFFFFu);
      shown.notify_all();
    }
  });
  const auto waitFor = [&](std::uint32_t frame) {
    std::unique_lock lock(mutex);
    frames.clear();
    shown.wait(lock, [&] { return !frames.empty() && frames.back() == frame; });
  };
  // The clock stands still: playing shows frame 0 until the player acts.
  waitFor(0);
  source->Pause();
  // Only the low 32 bits of a position count.
  source->Seek((std::int64_t{1} << 32) + 6);
  waitFor(6);
  source->SetRate(-1.0);
  source->Resume();
  now = 40;
  waitFor(5);
  stop = true;
  streaming.join();
  EXPECT_TRUE(window.texts().empty());
}

TEST_F(PreviewSourceTest, NoFilmInMemoryPostsTheNotReadyText) {
  SourceRig rig(MODE_Preview, {kSmallSensor, kVeryFast});
  // One partition and no recording: film mode with nothing to play.
  rig.hw().setScalar(0x400009, 1, 0);
  Orvo::StPreviewSource source(rig.holder(), window.hwnd());
  source.SetBytesPerPixel(3);
  Buffer raw;
  EXPECT_FALSE(source.createData(raw));
  const auto& texts = window.texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "KelLib3InDInterfaceQueryReady(...): sizeData == 0");
  EXPECT_TRUE(texts[0].freed);
}

TEST_F(PreviewSourceTest, LibraryErrorIsPostedAndEndsTheStream) {
  SourceRig rig(MODE_Input, {kSmallSensor, kVeryFast, {"KELLIB3_FAIL", "DataheaderGetU32:1"}});
  auto source = playFilm(rig, 3);
  Buffer raw;
  EXPECT_FALSE(source->createData(raw));
  const auto& texts = window.texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].text.find("in File: StPreviewSource Line: "), std::string::npos) << texts[0].text;
}

}  // namespace
