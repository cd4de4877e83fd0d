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

#include "filter/acquisition/StOrvoSource.h"
#include "platform/win/message_queue.h"
#include "platform/win/window_table.h"
#include "tests/filter/camera_env.h"
#include "tests/filter/library_probe.h"

namespace kel::test {

using EnvVar = std::pair<std::string, std::string>;
// Wide enough for the frame-number strip, small enough to be quick.
inline constexpr unsigned kWidth = 160;
inline constexpr unsigned kHeight = 40;
inline const EnvVar kSmallSensor{"KELLIB3_SIZE", "160x40"};
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

class SaveRig {
 public:
  SaveRig(const GUID& mode, std::initializer_list<EnvVar> vars);
  Orvo::StOrvoSource::Holder& holder() { return holder_; }
  Orvo::System& system() { return *holder_.Get(); }
  const LibraryProbe& hw() const { return *probe_; }
  // Records a film of `frames` frames in input mode and waits until the
  // grabber has it.
  void recordFilm(std::int32_t frames);

 private:
  CameraEnv camera_;
  Orvo::StOrvoSource::Holder holder_;
  std::unique_ptr<LibraryProbe> probe_;
};

// The process settings these tests change, back to their defaults after.
class SettingsGuard {
 public:
  SettingsGuard() { reset(); }
  ~SettingsGuard() { reset(); }
  SettingsGuard(const SettingsGuard&) = delete;
  SettingsGuard& operator=(const SettingsGuard&) = delete;

 private:
  static void reset();
};

// Frame number in the strip of a converted W x H picture at 3 bytes a pixel.
std::optional<std::uint32_t> stripOf(const std::vector<std::uint8_t>& picture);

}  // namespace kel::test
