#include "tests/filter/sources/source_rig.h"

#include <gtest/gtest.h>

#include "filter/acquisition/settings_records.h"
#include "kellib3/frame/frame_strip.h"
#include "platform/kernel/global_memory.h"
#include "shared/identifiers.h"

namespace kel::test {

TextWindow::TextWindow() : queue_(std::make_shared<plat::MessageQueue>()) {
  window_ = std::make_unique<plat::WindowRegistration>(queue_, [this](const plat::Message& m) -> LRESULT {
    auto* block = reinterpret_cast<HGLOBAL>(m.lParam);
    PostedText posted{m.message, m.wParam, std::string(static_cast<const char*>(block)), false};
    posted.freed = GlobalFree(block) == nullptr;
    texts_.push_back(std::move(posted));
    return 0;
  });
}

const std::vector<PostedText>& TextWindow::texts() {
  queue_->pump();
  return texts_;
}

SourceRig::SourceRig(const GUID& mode, std::initializer_list<EnvVar> vars) : camera_(vars) {
  if (!holder_.Open(3, 0)) ADD_FAILURE() << holder_.ErrorText();
  probe_ = std::make_unique<LibraryProbe>(system().Handle(), camera_.error());
  system().SetMode(&mode);
}

void SourceRig::waitUntilRecorded() const {
  KL3_HANDLE input = 0;
  ASSERT_EQ(KelLib3SystemGetInDInterface(holder_.Get()->Handle(), 0xC0000000, 0, &input, camera_.error()), 0);
  // Each wait returns at the next frame; a bounded count keeps a broken
  // recording from hanging the test.
  for (int i = 0; i < 100000 && hw().status().state != KELLIB3_STATE_IDLE; ++i)
    ASSERT_EQ(KelLib3InDInterfaceWait(input, 2000, camera_.error()), 0);
  ASSERT_EQ(hw().status().state, static_cast<std::uint32_t>(KELLIB3_STATE_IDLE));
}

void SettingsGuard::reset() {
  auto& s = Orvo::Settings();
  s.levels.summation = 0;
  s.levels.black = 0;
  s.levels.white = 255;
  s.whiteBalance.enabled = 0;
  s.whiteBalance.gamma = 0;
  s.dumpRequest = 0;
  s.repack = 0;
  s.monochrome = 0;
  s.visibleFramePeriod = 0;
  s.save.firstFrame = 0;
  s.save.lastFrame = 0;
}

std::optional<std::uint32_t> stripOf(const std::vector<std::uint8_t>& raw, unsigned width, unsigned height,
                                     unsigned bytesPerPixel) {
  return kellib3::readFrameStrip(raw, width, height, bytesPerPixel, static_cast<std::size_t>(width) * bytesPerPixel);
}

}  // namespace kel::test
