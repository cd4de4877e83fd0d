#include "tests/filter/camera_rig.h"

#include <gtest/gtest.h>

#include "filter/acquisition/settings_records.h"
#include "shared/identifiers.h"

namespace kel::test {

CameraRig::CameraRig(const GUID& mode, std::initializer_list<EnvVar> vars) : camera_(vars) {
  if (!holder_.Open(3, 0)) ADD_FAILURE() << holder_.ErrorText();
  probe_ = std::make_unique<LibraryProbe>(system().Handle(), camera_.error());
  system().SetMode(&mode);
}

void CameraRig::waitUntilRecorded() const {
  KL3_HANDLE input = 0;
  ASSERT_EQ(KelLib3SystemGetInDInterface(holder_.Get()->Handle(), 0xC0000000, 0, &input, camera_.error()), 0);
  // Each wait returns at the next frame; a bounded count keeps a broken
  // recording from hanging the test.
  for (int i = 0; i < 100000 && hw().status().state != KELLIB3_STATE_IDLE; ++i)
    ASSERT_EQ(KelLib3InDInterfaceWait(input, 2000, camera_.error()), 0);
  ASSERT_EQ(hw().status().state, static_cast<std::uint32_t>(KELLIB3_STATE_IDLE));
}

void CameraRig::recordFilm(std::int32_t frames) {
  system().SetMode(&MODE_Input);
  hw().setScalar(0x400007, frames, 0);
  hw().setEnum(0x400005, 37);
  hw().setEnum(0x400004, 4);
  system().StartInput();
  waitUntilRecorded();
}

void SettingsGuard::reset() {
  auto& s = Orvo::Settings();
  s.levels.summation = 0;
  s.levels.black = 0;
  s.levels.white = 255;
  s.levels.digitalGain = 0;
  s.whiteBalance.enabled = 0;
  s.whiteBalance.automatic = 0;
  s.whiteBalance.gamma = 0;
  s.whiteBalance.red = 0;
  s.whiteBalance.green = 0;
  s.whiteBalance.blue = 0;
  s.dumpRequest = 0;
  s.repack = 0;
  s.monochrome = 0;
  s.visibleFramePeriod = 0;
  s.save.firstFrame = 0;
  s.save.lastFrame = 0;
  s.save.writeInfoFile = 0;
  s.save.fileName.set({});
  s.save.saveWindow = nullptr;
}

}  // namespace kel::test
