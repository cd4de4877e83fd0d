#include "tests/filter/save/save_rig.h"

#include <gtest/gtest.h>

#include "kellib3/frame/frame_strip.h"
#include "platform/kernel/global_memory.h"
#include "platform/win/messages.h"

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

std::optional<std::uint32_t> stripOf(const std::vector<std::uint8_t>& picture) {
  return kellib3::readFrameStrip(picture, kWidth, kHeight, 3, std::size_t{kWidth} * 3);
}

}  // namespace kel::test
