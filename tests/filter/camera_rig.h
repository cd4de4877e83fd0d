// A camera system opened on the virtual camera in one mode, for the tests of
// the stream sources and the save path, and the process settings those
// tests change, back to their defaults after.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "filter/acquisition/StOrvoSource.h"
#include "tests/filter/camera_env.h"
#include "tests/filter/library_probe.h"

namespace kel::test {

using EnvVar = std::pair<std::string, std::string>;
// 160 x 40: wide enough for the frame-number strip, small enough to be quick.
inline const EnvVar kSmallSensor{"KELLIB3_SIZE", "160x40"};
inline constexpr unsigned kWidth = 160;
inline constexpr unsigned kHeight = 40;

class CameraRig {
 public:
  CameraRig(const GUID& mode, std::initializer_list<EnvVar> vars);
  Orvo::StOrvoSource::Holder& holder() { return holder_; }
  Orvo::System& system() { return *holder_.Get(); }
  const LibraryProbe& hw() const { return *probe_; }
  KL3_HANDLE error() const { return camera_.error(); }
  // Runs the library's wait until the film in memory stops recording.
  void waitUntilRecorded() const;
  // Records a film of `frames` frames in input mode (stopped by the frame
  // counter) and waits until the grabber has it.
  void recordFilm(std::int32_t frames);

 private:
  CameraEnv camera_;
  Orvo::StOrvoSource::Holder holder_;
  std::unique_ptr<LibraryProbe> probe_;
};

class SettingsGuard {
 public:
  SettingsGuard() { reset(); }
  ~SettingsGuard() { reset(); }
  SettingsGuard(const SettingsGuard&) = delete;
  SettingsGuard& operator=(const SettingsGuard&) = delete;

 private:
  static void reset();
};

}  // namespace kel::test
