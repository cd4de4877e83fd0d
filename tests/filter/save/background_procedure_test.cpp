// Taking the backgrounds from a film recorded with fixed settings, using them
// for the first frames after the capture, and putting the camera back as the
// operator left it, also when the capture fails.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "filter/acquisition/global_frame_lock.h"
#include "filter/acquisition/settings_records.h"
#include "filter/processing/StClearImageTransform.h"
#include "filter/processing/background_procedure.h"
#include "filter/processing/background_subtract.h"
#include "shared/identifiers.h"
#include "tests/filter/save/save_rig.h"

namespace {

using namespace kel::test;
using Bytes = std::vector<std::uint8_t>;

// Values the background settings differ from, written straight to the
// camera before the procedure.
struct OperatorValues {
  std::int32_t black = 50;
  std::int32_t framesToRecord = 10;
  std::int32_t exposureUs = 100;
  std::int32_t stopEvent = 4;   // on command
  std::int32_t startEvent = 5;  // external trigger
};

class BackgroundProcedureTest : public ::testing::Test {
 protected:
  void setOperatorValues(SaveRig& rig) {
    rig.hw().setScalar(0x40000d, values.black, 0);
    rig.hw().setScalar(0x400007, values.framesToRecord, 0);
    rig.hw().setScalar(0x400002, values.exposureUs, 2);
    rig.hw().setEnum(0x400005, values.stopEvent);
    rig.hw().setEnum(0x400004, values.startEvent);
    Orvo::Settings().save.firstFrame = 7;
    Orvo::Settings().save.lastFrame = 70;
  }

  void expectCameraPutBack(SaveRig& rig) {
    EXPECT_EQ(rig.system().Mode(), MODE_Setup);
    EXPECT_EQ(rig.hw().scalar(0x40000d, 0), values.black);
    EXPECT_EQ(rig.hw().scalar(0x400007, 0), values.framesToRecord);
    EXPECT_EQ(rig.hw().scalar(0x400002, 2), values.exposureUs);
    EXPECT_EQ(rig.hw().enumerated(0x400005), values.stopEvent);
    EXPECT_EQ(rig.hw().enumerated(0x400004), values.startEvent);
    EXPECT_EQ(Orvo::Settings().save.firstFrame.load(), 7);
    EXPECT_EQ(Orvo::Settings().save.lastFrame.load(), 70);
    // Set-up mode's live memory is back.
    EXPECT_EQ(rig.hw().scalar(0x400009, 0), rig.system().SetupPartitions());
  }

  SettingsGuard settings;
  BoxRecorder boxes;
  RecordingWindow window;
  OperatorValues values;
};

TEST_F(BackgroundProcedureTest, BackgroundsAreTheFourFilmFramesAndTheCameraIsPutBack) {
  SaveRig rig(MODE_Setup, {kSmallSensor, kFastClock});
  setOperatorValues(rig);
  Orvo::StClearImageTransform transform(rig.system().Handle());
  ASSERT_TRUE(Orvo::TakeBackground(rig.holder(), transform, window.hwnd(), 3));
  EXPECT_EQ(transform.Width(), kWidth);
  EXPECT_EQ(transform.Height(), kHeight);
  for (int k = 0; k < 4; ++k) {
    const auto background = transform.Background(k);
    ASSERT_EQ(background.size(), std::size_t{kWidth} * kHeight * 3) << k;
    EXPECT_EQ(stripOf(Bytes(background.begin(), background.end())), static_cast<std::uint32_t>(k)) << k;
  }
  EXPECT_EQ(transform.BackgroundIndex(), 0);
  expectCameraPutBack(rig);
  EXPECT_TRUE(window.texts().empty());
  EXPECT_EQ(boxes.count(), 0u);
}

TEST_F(BackgroundProcedureTest, TheFirstFourFramesAfterACaptureUseBackgroundsZeroToThree) {
  SaveRig rig(MODE_Setup, {kSmallSensor, kFastClock});
  Orvo::StClearImageTransform transform(rig.system().Handle());
  transform.SetEnabled(true);
  // Frames before the capture move the index; the capture resets it.
  Bytes out;
  transform.Apply(out, Bytes(16, 1));
  transform.Apply(out, Bytes(16, 1));
  ASSERT_TRUE(Orvo::TakeBackground(rig.holder(), transform, window.hwnd(), 3));

  std::vector<Bytes> backgrounds;
  for (int k = 0; k < 4; ++k) backgrounds.emplace_back(transform.Background(k).begin(), transform.Background(k).end());
  // Distinct backgrounds, so using the wrong one shows.
  for (int a = 0; a < 4; ++a)
    for (int b = a + 1; b < 4; ++b) ASSERT_NE(backgrounds[a], backgrounds[b]) << a << " " << b;

  // A frame as bright as the second background everywhere: only that one
  // subtracts to the floor.
  const Bytes frame = backgrounds[1];
  for (int call = 0; call < 6; ++call) {
    const int used = std::min(call, 3);
    Bytes expected(frame.size());
    Orvo::SubtractBackground(expected, frame, backgrounds[used]);
    out.assign(frame.size(), 0);
    ASSERT_TRUE(transform.Apply(out, frame));
    EXPECT_EQ(out, expected) << "frame " << call << " should use background " << used;
  }
}

TEST_F(BackgroundProcedureTest, FailedCaptureIsReportedAndTheCameraIsStillPutBack) {
  // The record source makes the first input-format read; the capture the second.
  SaveRig rig(MODE_Setup, {kSmallSensor, kFastClock, {"KELLIB3_FAIL", "InDInterfaceGetType:2"}});
  setOperatorValues(rig);
  Orvo::StClearImageTransform transform(rig.system().Handle());
  transform.SetEnabled(true);
  EXPECT_FALSE(Orvo::TakeBackground(rig.holder(), transform, window.hwnd(), 3));
  expectCameraPutBack(rig);
  const auto texts = window.texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find("in File: StClearImageTransform Line: 100"), std::string::npos) << texts[0];
  EXPECT_EQ(transform.BackgroundIndex(), 0);
  // No background: frames still pass unchanged.
  const Bytes frame(300, 77);
  Bytes out(300, 0);
  transform.Apply(out, frame);
  EXPECT_EQ(out, frame);
}

TEST_F(BackgroundProcedureTest, RecordSourceRefusedBeforeAnyWriteStillRestoresTheMode) {
  SaveRig rig(MODE_Setup, {kSmallSensor, kFastClock, {"KELLIB3_FAIL", "InDInterfaceGetType:1"}});
  setOperatorValues(rig);
  Orvo::StClearImageTransform transform(rig.system().Handle());
  EXPECT_FALSE(Orvo::TakeBackground(rig.holder(), transform, window.hwnd(), 3));
  expectCameraPutBack(rig);
  const auto texts = window.texts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find("StOrvoSource"), std::string::npos) << texts[0];
  for (int k = 0; k < 4; ++k) EXPECT_TRUE(transform.Background(k).empty());
}

TEST_F(BackgroundProcedureTest, RefusedWriteIsShownOnceTheFrameLockIsFree) {
  // Entering set-up mode made three enumerated writes; the fourth is the
  // procedure's stop-event write.
  SaveRig rig(MODE_Setup, {kSmallSensor, kFastClock, {"KELLIB3_FAIL", "KelLib3OptionSetEnumVal:4"}});
  Orvo::StClearImageTransform transform(rig.system().Handle());
  struct Seen {
    plat::MessageBoxRequest box;
    bool lockFree;
  };
  std::vector<Seen> seen;
  const auto previous = plat::setMessageBoxHook([&](const plat::MessageBoxRequest& r) {
    bool lockFree = false;
    std::thread other([&] {
      lockFree = Orvo::GlobalFrameLock().try_lock();
      if (lockFree) Orvo::GlobalFrameLock().unlock();
    });
    other.join();
    seen.push_back({r, lockFree});
    return IDOK;
  });
  Orvo::TakeBackground(rig.holder(), transform, window.hwnd(), 3);
  plat::setMessageBoxHook(previous);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].box.caption, "LIB3 ERROR");
  EXPECT_NE(seen[0].box.text.find("SetValue"), std::string::npos) << seen[0].box.text;
  EXPECT_TRUE(seen[0].lockFree) << "the live picture must not wait for the operator";
}

}  // namespace
