// Starting and stopping input control.
#include <gtest/gtest.h>

#include <memory>

#include "filter/acquisition/System.h"
#include "filter/hardware/lib3_error.h"
#include "platform/kernel/tick_count.h"
#include "tests/filter/camera_env.h"
#include "tests/filter/library_probe.h"

namespace {

using kel::test::BoxRecorder;
using kel::test::CameraEnv;
using kel::test::LibraryProbe;

std::unique_ptr<Orvo::System> openSystem() {
  auto s = std::make_unique<Orvo::System>(3);
  s->Init(0);
  return s;
}

TEST(SystemInput, StartRunsInputAndStopWaitsForIdle) {
  CameraEnv camera;
  BoxRecorder boxes;
  auto system = openSystem();
  LibraryProbe hw(system->Handle(), camera.error());
  system->StartInput();
  EXPECT_EQ(hw.status().inputRunning, 1);
  EXPECT_NE(hw.status().nextPart, 0) << "a frame cycle was opened";
  system->StopInput(true);
  EXPECT_EQ(hw.status().inputRunning, 0);
  EXPECT_EQ(hw.status().state, static_cast<std::uint32_t>(KELLIB3_STATE_IDLE));
  EXPECT_EQ(boxes.count(), 0u);
}

TEST(SystemInput, RefusedFrameCycleIsThrown) {
  CameraEnv camera({{"KELLIB3_FAIL", "KelLib3CallCInterface_0:1"}});
  BoxRecorder boxes;
  auto system = openSystem();
  EXPECT_THROW(system->StartInput(), LIB3::CError);
  EXPECT_EQ(boxes.count(), 0u);
}

TEST(SystemInput, RefusedArmIsShownWithEmptyCaptionAndStartCompletes) {
  // Call 1 opens the cycle, call 2 arms the camera.
  CameraEnv camera({{"KELLIB3_FAIL", "KelLib3CallCInterface_0:2"}});
  BoxRecorder boxes;
  auto system = openSystem();
  EXPECT_NO_THROW(system->StartInput());
  ASSERT_EQ(boxes.count(), 1u);
  const auto box = boxes.boxes()[0];
  EXPECT_EQ(box.caption, "");
  EXPECT_EQ(box.flags & MB_ICONMASK, MB_ICONERROR);
  EXPECT_EQ(box.text.rfind("Error: \"KELLIB3 ERROR: ", 0), 0u) << box.text;
  EXPECT_NE(box.text.find("KelLib3CallCInterface_0"), std::string::npos);
}

TEST(SystemInput, RefusedStatusReadIsShownAndStopCompletes) {
  CameraEnv camera({{"KELLIB3_FAIL", "KelLib3CallCInterface_1:1"}});
  BoxRecorder boxes;
  auto system = openSystem();
  EXPECT_NO_THROW(system->StopInput(true));
  ASSERT_EQ(boxes.count(), 1u);
  EXPECT_EQ(boxes.boxes()[0].caption, "");
  EXPECT_NE(boxes.boxes()[0].text.find("KelLib3CallCInterface_1"), std::string::npos);
}

TEST(SystemInput, StopGivesUpAfterTenSecondsOfTicks) {
  CameraEnv camera;
  BoxRecorder boxes;
  auto system = openSystem();
  LibraryProbe hw(system->Handle(), camera.error());
  // A film that keeps recording long after the stop command: one frame a
  // second, ten thousand frames of stop delay.
  hw.setScalar(0x400009, 1, 0);
  hw.setScalar(0x400003, 1'000'000, KELLIB3_UNIT_US);
  hw.setScalar(0x400054, 10000, 0);
  system->StartInput();
  ASSERT_EQ(hw.status().state, static_cast<std::uint32_t>(KELLIB3_STATE_RECORDING));

  // Each look at the clock is one virtual second later.
  DWORD now = 0;
  int looks = 0;
  plat::ScopedTickSource ticks([&] {
    ++looks;
    return now += 1000;
  });
  system->StopInput(true);
  ASSERT_EQ(boxes.count(), 1u);
  EXPECT_EQ(boxes.boxes()[0].text, "Can't stop input control");
  EXPECT_EQ(boxes.boxes()[0].caption, "Timeout");
  EXPECT_EQ(boxes.boxes()[0].flags & MB_ICONMASK, MB_ICONERROR);
  // Start plus one look per status read: gives up at the first look past 10 s.
  EXPECT_EQ(looks, 12);
}

}  // namespace
