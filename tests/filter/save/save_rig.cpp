#include "tests/filter/save/save_rig.h"

#include <gtest/gtest.h>

#include "filter/acquisition/settings_records.h"
#include "kellib3/frame/frame_strip.h"
#include "platform/kernel/global_memory.h"
#include "platform/win/messages.h"
#include "shared/identifiers.h"

namespace kel::test {

RecordingWindow::RecordingWindow() : queue_(std::make_shared<plat::MessageQueue>()) {
  window_ = std::make_unique<plat::WindowRegistration>(queue_, [this](const plat::Message& m) -> LRESULT {
    Received r{m.message, m.wParam, m.lParam, {}};
    if (m.message == WM_LOG_TEXT) {
      auto* block = reinterpret_cast<HGLOBAL>(m.lParam);
      r.text = static_cast<const char*>(block);
      EXPECT_EQ(GlobalFree(block), nullptr) << "a posted text must be a live global block";
    }
    received_.push_back(std::move(r));
    return 0;
  });
}

RecordingWindow::~RecordingWindow() {
  queue_->pump();
  window_.reset();
}

const std::vector<Received>& RecordingWindow::received() {
  queue_->pump();
  return received_;
}

std::vector<std::string> RecordingWindow::texts() {
  std::vector<std::string> out;
  for (const auto& r : received())
    if (r.message == WM_LOG_TEXT) out.push_back(r.text);
  return out;
}

std::vector<Received> RecordingWindow::withMessage(UINT message) {
  std::vector<Received> out;
  for (const auto& r : received())
    if (r.message == message) out.push_back(r);
  return out;
}

SaveRig::SaveRig(const GUID& mode, std::initializer_list<EnvVar> vars) : camera_(vars) {
  if (!holder_.Open(3, 0)) ADD_FAILURE() << holder_.ErrorText();
  probe_ = std::make_unique<LibraryProbe>(system().Handle(), camera_.error());
  system().SetMode(&mode);
}

void SaveRig::recordFilm(std::int32_t frames) {
  system().SetMode(&MODE_Input);
  hw().setScalar(0x400007, frames, 0);
  hw().setEnum(0x400005, 37);
  hw().setEnum(0x400004, 4);
  system().StartInput();
  KL3_HANDLE input = 0;
  ASSERT_EQ(KelLib3SystemGetInDInterface(system().Handle(), 0xC0000000, 0, &input, camera_.error()), 0);
  // Each wait returns at the next frame; the bound keeps a broken recording
  // from hanging the test.
  for (int i = 0; i < 100000 && hw().status().state != KELLIB3_STATE_IDLE; ++i)
    ASSERT_EQ(KelLib3InDInterfaceWait(input, 2000, camera_.error()), 0);
  ASSERT_EQ(hw().status().state, static_cast<std::uint32_t>(KELLIB3_STATE_IDLE));
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
  s.monochrome = 0;
  s.repack = 0;
  s.save.firstFrame = 0;
  s.save.lastFrame = 0;
  s.save.writeInfoFile = 0;
  s.save.fileName.set({});
  s.save.saveWindow = nullptr;
}

std::optional<std::uint32_t> stripOf(const std::vector<std::uint8_t>& picture) {
  return kellib3::readFrameStrip(picture, kWidth, kHeight, 3, std::size_t{kWidth} * 3);
}

}  // namespace kel::test
