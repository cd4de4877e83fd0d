// Test rig for background subtraction and the film file source: the virtual
// camera with a small sensor and a fast clock, a camera system opened in one
// mode, and a window that keeps every message it receives (texts decoded and
// their blocks freed, as the log view does).
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

inline const EnvVar kFastClock{"KELLIB3_TIME_SCALE", "1000000"};

struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  // WM_LOG_TEXT only.
  std::string text;
};

class RecordingWindow {
 public:
  RecordingWindow();
  // Takes what is still queued (freeing its texts) before the window goes.
  ~RecordingWindow();
  RecordingWindow(const RecordingWindow&) = delete;
  RecordingWindow& operator=(const RecordingWindow&) = delete;
  HWND hwnd() const { return window_->hwnd(); }
  // Delivers what was posted so far; everything received.
  const std::vector<Received>& received();
  std::vector<std::string> texts();
  std::vector<Received> withMessage(UINT message);

 private:
  std::shared_ptr<plat::MessageQueue> queue_;
  std::vector<Received> received_;
  std::unique_ptr<plat::WindowRegistration> window_;
};

using SaveRig = CameraRig;

// Frame number in the strip of a converted W x H picture at 3 bytes a pixel.
std::optional<std::uint32_t> stripOf(const std::vector<std::uint8_t>& picture);

}  // namespace kel::test
