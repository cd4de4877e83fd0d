#include "tests/filter/sources/source_rig.h"

#include <gtest/gtest.h>

#include "kellib3/frame/frame_strip.h"
#include "platform/kernel/global_memory.h"

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

std::optional<std::uint32_t> stripOf(const std::vector<std::uint8_t>& raw, unsigned width, unsigned height,
                                     unsigned bytesPerPixel) {
  return kellib3::readFrameStrip(raw, width, height, bytesPerPixel, static_cast<std::size_t>(width) * bytesPerPixel);
}

}  // namespace kel::test
