// The option values each operating mode fixes, and the current mode.
#include <gtest/gtest.h>

#include <memory>

#include "filter/acquisition/System.h"
#include "filter/acquisition/settings_records.h"
#include "shared/identifiers.h"
#include "tests/filter/camera_env.h"
#include "tests/filter/library_probe.h"

namespace {

using kel::test::BoxRecorder;
using kel::test::CameraEnv;
using kel::test::LibraryProbe;

constexpr std::uint32_t kPartitions = 0x400009, kStartEvent = 0x400004, kStopEvent = 0x400005,
                        kTestMode = 0x400011, kFrameRange = 0x400020;

std::unique_ptr<Orvo::System> openSystem() {
  auto s = std::make_unique<Orvo::System>(3);
  s->Init(0);
  return s;
}

TEST(SystemMode, SetupWritesItsFourOptionsAndRemembersTheMode) {
  CameraEnv camera;
  BoxRecorder boxes;
  auto system = openSystem();
  LibraryProbe hw(system->Handle(), camera.error());
  hw.setScalar(kPartitions, 5, 0);
  hw.setEnum(kStopEvent, 4);
  hw.setEnum(kTestMode, 1);
  hw.setEnum(kStartEvent, 5);

  system->SetMode(&MODE_Setup);
  EXPECT_EQ(hw.scalar(kPartitions, 0), 2);
  EXPECT_EQ(hw.enumerated(kStopEvent), 37);
  EXPECT_EQ(hw.enumerated(kTestMode), 2);
  EXPECT_EQ(hw.enumerated(kStartEvent), 33);
  EXPECT_EQ(system->Mode(), MODE_Setup);

  // The test-mode value chosen through the camera interface is the one
  // written on the next entry into set-up mode.
  system->SetSetupTestMode(1);
  system->SetMode(&MODE_Setup);
  EXPECT_EQ(hw.enumerated(kTestMode), 1);
  EXPECT_EQ(boxes.count(), 0u);
}

TEST(SystemMode, InputPreviewAndSave) {
  CameraEnv camera;
  auto system = openSystem();
  LibraryProbe hw(system->Handle(), camera.error());

  system->SetMode(&MODE_Input);
  EXPECT_EQ(hw.scalar(kPartitions, 0), 1);
  EXPECT_EQ(system->Mode(), MODE_Input);

  hw.setScalar(kPartitions, 6, 0);
  const auto [first, last] = hw.range(kFrameRange, 0);
  ASSERT_LT(first, last);
  Orvo::Settings().save.firstFrame = -100;
  Orvo::Settings().save.lastFrame = -100;
  system->SetMode(&MODE_Preview);
  EXPECT_EQ(Orvo::Settings().save.firstFrame.load(), first);
  EXPECT_EQ(Orvo::Settings().save.lastFrame.load(), last);
  EXPECT_EQ(system->Mode(), MODE_Preview);

  hw.setScalar(kPartitions, 4, 0);
  system->SetMode(&MODE_Save);
  EXPECT_EQ(hw.scalar(kPartitions, 0), 4) << "save mode writes nothing";
  EXPECT_EQ(system->Mode(), MODE_Save);
}

TEST(SystemMode, UnknownOrNullIdentifierChangesNothing) {
  CameraEnv camera;
  auto system = openSystem();
  LibraryProbe hw(system->Handle(), camera.error());
  system->SetMode(&MODE_Input);
  hw.setScalar(kPartitions, 3, 0);
  const GUID other{0x12345678, 1, 2, {3, 4, 5, 6, 7, 8, 9, 10}};
  system->SetMode(&other);
  system->SetMode(nullptr);
  EXPECT_EQ(system->Mode(), MODE_Input);
  EXPECT_EQ(hw.scalar(kPartitions, 0), 3);
}

// The number of KelLib3SystemGetCInterface calls the catalogue makes before
// it asks for `id` at index 0: each earlier option of the list is asked for
// at every index it has and once more at the first index it lacks.
std::uint64_t interfaceCallsBefore(Orvo::System& system, std::uint32_t id) {
  std::uint64_t calls = 0;
  for (const auto& [text, listed] : kel::test::listEntries(2)) {
    if (static_cast<std::uint32_t>(listed) == id) break;
    std::uint32_t index = 0;
    while (system.FindOption(static_cast<std::uint32_t>(listed), index)) ++index;
    calls += index + 1;
  }
  return calls;
}

TEST(SystemMode, SetupSkipsAnOptionMissingFromTheCatalogue) {
  std::uint64_t failing = 0;
  {
    CameraEnv camera;
    auto system = openSystem();
    failing = interfaceCallsBefore(*system, kStopEvent) + 1;
  }
  // The stop event's interface at index 0 is refused while the catalogue is
  // built, so it gets no record at all.
  CameraEnv camera({{"KELLIB3_FAIL", "KelLib3SystemGetCInterface:" + std::to_string(failing)}});
  BoxRecorder boxes;
  auto system = openSystem();
  ASSERT_EQ(system->FindOption(kStopEvent, 0), nullptr);
  ASSERT_NE(system->FindOption(kStartEvent, 0), nullptr);
  LibraryProbe hw(system->Handle(), camera.error());
  hw.setEnum(kStopEvent, 4);
  hw.setEnum(kStartEvent, 5);
  system->SetMode(&MODE_Setup);
  EXPECT_EQ(hw.enumerated(kStopEvent), 4);
  EXPECT_EQ(hw.enumerated(kStartEvent), 33);
  EXPECT_EQ(system->Mode(), MODE_Setup);
  EXPECT_EQ(boxes.count(), 0u);
}

}  // namespace
