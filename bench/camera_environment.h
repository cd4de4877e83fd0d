// A private class registry, camera state and controller-slot folder for one
// benchmark run, with the virtual camera at full size on its fast clock;
// removed when the run ends.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace kel::bench {

class CameraEnvironment {
 public:
  explicit CameraEnvironment(const std::string& name)
      : dir_(std::filesystem::temp_directory_path() / (name + "-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(dir_);
    setenv("KELORVO_REGISTRY", (dir_ / "registry").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (dir_ / "run").c_str(), 1);
    setenv("KELLIB3_STATE_DIR", (dir_ / "state").c_str(), 1);
    setenv("KELLIB3_SIZE", "1280x1024", 1);
    setenv("KELLIB3_TIME_SCALE", "1000", 1);
  }
  ~CameraEnvironment() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  CameraEnvironment(const CameraEnvironment&) = delete;
  CameraEnvironment& operator=(const CameraEnvironment&) = delete;

 private:
  std::filesystem::path dir_;
};

}  // namespace kel::bench
