// The set-up source: live frames, the conversion choice, the frame cycle's
// close, the dump files and the errors that end or escape the stream.
#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "filter/acquisition/StSetupSource.h"
#include "filter/acquisition/global_frame_lock.h"
#include "filter/acquisition/settings_records.h"
#include "filter/hardware/lib3_error.h"
#include "shared/identifiers.h"
#include "tests/filter/sources/library_overrides.h"
#include "tests/filter/sources/source_rig.h"

namespace {

namespace fs = std::filesystem;
using namespace kel::test;
using Buffer = Orvo::StOrvoSource::FrameBuffer;

const EnvVar kFast{"KELLIB3_TIME_SCALE", "1000"};
constexpr std::uint8_t kUntouched = 0x5A;

class SetupSourceTest : public ::testing::Test {
 protected:
  // Live input running, source running with 24-bit pixels.
  std::unique_ptr<Orvo::StSetupSource> start(SourceRig& rig) {
    rig.system().StartInput();
    auto source = std::make_unique<Orvo::StSetupSource>(rig.holder(), window.hwnd());
    source->SetBytesPerPixel(3);
    source->SetRunning(true);
    return source;
  }

  SettingsGuard settings;
  TextWindow window;
};

bool frameLockFreeForOthers() {
  bool taken = false;
  std::thread other([&] {
    taken = Orvo::GlobalFrameLock().try_lock();
    if (taken) Orvo::GlobalFrameLock().unlock();
  });
  other.join();
  return taken;
}

TEST_F(SetupSourceTest, ConstructionRefusesAClosedSystemAndThrowsLibraryRefusals) {
  Orvo::StOrvoSource::Holder closed;
  EXPECT_THROW(Orvo::StSetupSource(closed, window.hwnd()), std::invalid_argument);
  // The third of the four DMA contexts is refused: the rest is undone.
  SourceRig rig(MODE_Setup, {kSmallSensor, {"KELLIB3_FAIL", "DmaCreateContext:3"}});
  EXPECT_THROW(Orvo::StSetupSource(rig.holder(), window.hwnd()), LIB3::CError);
  EXPECT_NO_THROW(Orvo::StSetupSource(rig.holder(), window.hwnd()));
}

TEST_F(SetupSourceTest, SourceNeverRunOpensTheCycleAndProducesNoFrame) {
  SourceRig rig(MODE_Setup, {kSmallSensor, kFast});
  Orvo::StSetupSource source(rig.holder(), window.hwnd());
  ASSERT_EQ(rig.hw().status().nextPart, 0);
  Buffer raw;
  EXPECT_FALSE(source.createData(raw));
  EXPECT_TRUE(raw.empty());
  EXPECT_EQ(rig.hw().status().nextPart, 1) << "only the cycle-open command was sent";
  EXPECT_TRUE(window.texts().empty());
}

TEST_F(SetupSourceTest, LiveFramesAdvanceAndEachCycleIsClosed) {
  SourceRig rig(MODE_Setup, {kSmallSensor, kFast});
  Orvo::Settings().visibleFramePeriod = 7;
  auto source = start(rig);
  Buffer raw;
  ASSERT_TRUE(source->createData(raw));
  ASSERT_EQ(raw.size(), kWidth * kHeight * 3);
  const auto first = stripOf(raw, kWidth, kHeight, 3);
  EXPECT_EQ(rig.hw().status().nextPart, 0) << "the cycle was closed";
  EXPECT_EQ(rig.hw().scalar(0x400020, 0), 7) << "the visible-frame period was written";
  ASSERT_TRUE(source->createData(raw));
  const auto second = stripOf(raw, kWidth, kHeight, 3);
  ASSERT_TRUE(first && second);
  EXPECT_GT(*second, *first);
  EXPECT_EQ(source->Orientation(), 0);
  EXPECT_TRUE(window.texts().empty());
}

TEST_F(SetupSourceTest, StopFromTheApplicationThreadEndsTheStream) {
  SourceRig rig(MODE_Setup, {kSmallSensor, kFast});
  auto source = start(rig);
  std::mutex mutex;
  std::condition_variable framed;
  int frames = 0;
  std::thread streaming([&] {
    Buffer raw;
    while (source->createData(raw)) {
      std::lock_guard lock(mutex);
      ++frames;
      framed.notify_all();
    }
  });
  {
    std::unique_lock lock(mutex);
    framed.wait(lock, [&] { return frames > 0; });
  }
  source->SetRunning(false);
  streaming.join();  // returns only once createData answered false
  EXPECT_FALSE(source->Running());
  EXPECT_GE(frames, 1);
}

TEST_F(SetupSourceTest, PausedFrameLeavesTheCycleOpen) {
  SourceRig rig(MODE_Setup, {kSmallSensor, kFast});
  auto source = start(rig);
  source->SetPause(true);
  Buffer raw;
  ASSERT_TRUE(source->createData(raw));
  EXPECT_TRUE(stripOf(raw, kWidth, kHeight, 3).has_value());
  EXPECT_EQ(rig.hw().status().nextPart, 5) << "all four parts moved, no close command";
}

TEST_F(SetupSourceTest, UpsideDownCameraReportsItsOrientation) {
  SourceRig rig(MODE_Setup, {kSmallSensor, kFast, {"KELLIB3_ORIENTATION", "180"}});
  auto source = start(rig);
  Buffer raw;
  ASSERT_TRUE(source->createData(raw));
  EXPECT_EQ(source->Orientation(), 180);
}

TEST_F(SetupSourceTest, PixelSizeAndSummationChooseTheConversion) {
  SourceRig rig(MODE_Setup, {kSmallSensor, kFast});
  auto source = start(rig);

  // 32-bit pixels: the picture in the first three bytes, 255 in the fourth.
  source->SetBytesPerPixel(4);
  Buffer raw(kWidth * kHeight * 4, kUntouched);
  ASSERT_TRUE(source->createData(raw));
  EXPECT_TRUE(stripOf(raw, kWidth, kHeight, 4).has_value());
  for (std::size_t i = 3; i < raw.size(); i += 4) ASSERT_EQ(raw[i], 255) << i;

  // 16-bit pixels: the buffer is sized but nothing is written.
  source->SetBytesPerPixel(2);
  raw.assign(kWidth * kHeight * 2, kUntouched);
  ASSERT_TRUE(source->createData(raw));
  EXPECT_EQ(raw.size(), kWidth * kHeight * 2);
  EXPECT_TRUE(std::all_of(raw.begin(), raw.end(), [](std::uint8_t b) { return b == kUntouched; }));

  // Summation: a half-size picture at the front, the rest untouched.
  source->SetBytesPerPixel(3);
  Orvo::Settings().levels.summation = 1;
  raw.assign(kWidth * kHeight * 3, kUntouched);
  ASSERT_TRUE(source->createData(raw));
  EXPECT_TRUE(stripOf(raw, kWidth / 2, kHeight / 2, 3).has_value());
  const std::size_t half = (kWidth / 2) * (kHeight / 2) * 3;
  EXPECT_TRUE(std::all_of(raw.begin() + half, raw.end(), [](std::uint8_t b) { return b == kUntouched; }));
}

TEST_F(SetupSourceTest, ColourSensorIsConvertedInColourEvenWithSummation) {
  SourceRig rig(MODE_Setup, {kSmallSensor, kFast, {"KELLIB3_SENSOR", "bayer"}});
  auto source = start(rig);
  Orvo::Settings().levels.summation = 1;
  Buffer raw(kWidth * kHeight * 3, kUntouched);
  ASSERT_TRUE(source->createData(raw));
  // A summed picture would fill only the first quarter; colour fills it all.
  const std::size_t half = (kWidth / 2) * (kHeight / 2) * 3;
  EXPECT_FALSE(std::all_of(raw.begin() + half, raw.end(), [](std::uint8_t b) { return b == kUntouched; }));
  EXPECT_TRUE(stripOf(raw, kWidth, kHeight, 3).has_value());
}

TEST_F(SetupSourceTest, InputThatNeverBecomesReadyEndsTheStreamQuietly) {
  SourceRig rig(MODE_Setup, {kSmallSensor, {"KELLIB3_TIME_SCALE", "1000000"}});
  // No input started: the grabber is idle but no frame ever arrives.
  Orvo::StSetupSource source(rig.holder(), window.hwnd());
  source.SetRunning(true);
  Buffer raw;
  EXPECT_FALSE(source.createData(raw));
  EXPECT_TRUE(raw.empty());
  EXPECT_TRUE(window.texts().empty());
}

TEST_F(SetupSourceTest, LibraryErrorEscapesWithTheFrameLockReleased) {
  SourceRig rig(MODE_Setup, {kSmallSensor, kFast, {"KELLIB3_FAIL", "InDInterfaceBeginBlock:1"}});
  auto source = start(rig);
  Buffer raw;
  try {
    source->createData(raw);
    ADD_FAILURE() << "the refused call did not escape";
  } catch (const LIB3::CError& e) {
    EXPECT_NE(e.Text().find("in File: StSetupSource Line: "), std::string::npos) << e.Text();
  }
  EXPECT_TRUE(frameLockFreeForOthers());
  // The next frame works again.
  EXPECT_TRUE(source->createData(raw));
}

// Runs the test in a fresh current directory and goes back afterwards.
class ScopedCurrentDir {
 public:
  ScopedCurrentDir() : old_(fs::current_path()) { fs::current_path(dir_.path()); }
  ~ScopedCurrentDir() { fs::current_path(old_); }
  const fs::path& path() const { return dir_.path(); }

 private:
  TempDir dir_;
  fs::path old_;
};

TEST_F(SetupSourceTest, DumpWritesFourFilesOnceAndClearsTheRequest) {
  ScopedCurrentDir cwd;
  SourceRig rig(MODE_Setup, {kSmallSensor, kFast});
  auto source = start(rig);
  Orvo::Settings().dumpRequest = 1;
  Buffer raw;
  ASSERT_TRUE(source->createData(raw));
  EXPECT_EQ(Orvo::Settings().dumpRequest.load(), 0);
  for (int i = 0; i < 4; ++i) {
    const auto file = cwd.path() / ("dump" + std::to_string(i) + ".bin");
    ASSERT_TRUE(fs::exists(file)) << file;
    EXPECT_EQ(fs::file_size(file), source->DmaBufferSize());
    fs::remove(file);
  }
  ASSERT_TRUE(source->createData(raw));
  EXPECT_TRUE(fs::is_empty(cwd.path())) << "a cleared request dumps nothing";
  EXPECT_TRUE(window.texts().empty());
}

TEST_F(SetupSourceTest, DumpThatCannotOpenItsFilesReportsEachAndKeepsTheFrame) {
  ScopedCurrentDir cwd;
  // A folder in the way cannot be opened as a file, whoever runs the test.
  for (int i = 0; i < 4; ++i) fs::create_directory(cwd.path() / ("dump" + std::to_string(i) + ".bin"));
  SourceRig rig(MODE_Setup, {kSmallSensor, kFast});
  auto source = start(rig);
  Orvo::Settings().dumpRequest = 1;
  Buffer raw;
  ASSERT_TRUE(source->createData(raw));
  EXPECT_TRUE(stripOf(raw, kWidth, kHeight, 3).has_value());
  const auto& texts = window.texts();
  ASSERT_EQ(texts.size(), 4u);
  for (const auto& t : texts) {
    EXPECT_EQ(t.text, "DUMP: Ошибка открытия фйла.");
    EXPECT_TRUE(t.freed);
  }
}

TEST_F(SetupSourceTest, PartIndexOutsideOneToFourSkipsTheTransferButTheLoopGoesOn) {
  SourceRig rig(MODE_Setup, {kSmallSensor, kFast});
  auto source = start(rig);
  Buffer raw;
  std::uint64_t before = overrides::nextPartCommands();
  ASSERT_TRUE(source->createData(raw));
  const std::uint64_t plain = overrides::nextPartCommands() - before;
  // Index 0 moves nothing; the counter goes on to 1 and asks again.
  overrides::answerNextPart(0, 1);
  before = overrides::nextPartCommands();
  ASSERT_TRUE(source->createData(raw));
  overrides::reset();
  EXPECT_EQ(overrides::nextPartCommands() - before, plain + 1);
  EXPECT_TRUE(stripOf(raw, kWidth, kHeight, 3).has_value()) << "the four parts still came";
}

TEST_F(SetupSourceTest, FrameRangeThatIsNeverValidKeepsPollingWhileTheGrabberIsIdle) {
  SourceRig rig(MODE_Setup, {kSmallSensor, kFast});
  auto source = start(rig);
  overrides::reset();
  overrides::refuseFrameRange(true);
  Buffer raw;
  bool produced = false;
  std::thread streaming([&] { produced = source->createData(raw); });
  const bool polled = overrides::waitForRefusedRanges(100);
  overrides::refuseFrameRange(false);
  streaming.join();
  overrides::reset();
  EXPECT_TRUE(polled) << "the source gave up on the range";
  EXPECT_TRUE(produced) << "a valid range ends the polling with a frame";
  EXPECT_TRUE(stripOf(raw, kWidth, kHeight, 3).has_value());
}

}  // namespace
