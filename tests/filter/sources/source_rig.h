// Test rig for the stream sources: the virtual camera with a small sensor,
// a camera system opened in one mode, a window that collects the texts the
// sources post, and the frame number a converted picture shows.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win/message_queue.h"
#include "platform/win/window_table.h"
#include "tests/filter/camera_rig.h"

namespace kel::test {

// One posted message as the receiver saw it; the receiver freed its block.
struct PostedText {
  UINT message;
  WPARAM wParam;
  std::string text;
  bool freed;
};

// A window bound to a queue that the test thread drains.
class TextWindow {
 public:
  TextWindow();
  HWND hwnd() const { return window_->hwnd(); }
  // Delivers everything posted so far and returns all texts received.
  const std::vector<PostedText>& texts();
  std::size_t pending() const { return queue_->pending(); }

 private:
  std::shared_ptr<plat::MessageQueue> queue_;
  std::vector<PostedText> texts_;
  std::unique_ptr<plat::WindowRegistration> window_;
};

using SourceRig = CameraRig;

// Frame number in the strip of a converted W x H picture.
std::optional<std::uint32_t> stripOf(const std::vector<std::uint8_t>& raw, unsigned width, unsigned height,
                                     unsigned bytesPerPixel);

}  // namespace kel::test
