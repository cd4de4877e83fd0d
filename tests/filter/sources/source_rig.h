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

#include "filter/acquisition/StOrvoSource.h"
#include "platform/win/message_queue.h"
#include "platform/win/window_table.h"
#include "tests/filter/camera_env.h"
#include "tests/filter/library_probe.h"

namespace kel::test {

using EnvVar = std::pair<std::string, std::string>;
// 160 x 40: wide enough for the frame-number strip, small enough to be quick.
inline const EnvVar kSmallSensor{"KELLIB3_SIZE", "160x40"};
inline constexpr unsigned kWidth = 160;
inline constexpr unsigned kHeight = 40;

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

class SourceRig {
 public:
  SourceRig(const GUID& mode, std::initializer_list<EnvVar> vars);
  Orvo::StOrvoSource::Holder& holder() { return holder_; }
  Orvo::System& system() { return *holder_.Get(); }
  const LibraryProbe& hw() const { return *probe_; }
  KL3_HANDLE error() const { return camera_.error(); }
  // Runs the library's wait until the film in memory stops recording.
  void waitUntilRecorded() const;

 private:
  CameraEnv camera_;
  Orvo::StOrvoSource::Holder holder_;
  std::unique_ptr<LibraryProbe> probe_;
};

// The process settings the sources read, back to their defaults at the end.
class SettingsGuard {
 public:
  SettingsGuard() { reset(); }
  ~SettingsGuard() { reset(); }
  SettingsGuard(const SettingsGuard&) = delete;
  SettingsGuard& operator=(const SettingsGuard&) = delete;

 private:
  static void reset();
};

// Frame number in the strip of a converted W x H picture.
std::optional<std::uint32_t> stripOf(const std::vector<std::uint8_t>& raw, unsigned width, unsigned height,
                                     unsigned bytesPerPixel);

}  // namespace kel::test
