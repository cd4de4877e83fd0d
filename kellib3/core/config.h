// What the virtual camera looks like, read from the environment at
// KelLib3Init (so every initialisation can choose anew).
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace kellib3 {

struct Config {
  bool bayer = false;                        // KELLIB3_SENSOR mono|bayer
  unsigned sensorWidth = 1280;               // KELLIB3_SIZE WxH
  unsigned sensorHeight = 1024;
  bool shutter = false;                      // KELLIB3_SHUTTER 1
  unsigned controllers = 1;                  // KELLIB3_CONTROLLERS
  int orientation = 0;                       // KELLIB3_ORIENTATION 0|180
  bool cameraAbsent = false;                 // KELLIB3_CAMERA=absent
  std::map<std::string, std::uint64_t> faults;  // KELLIB3_FAIL Function:N,...
  double timeScale = 1.0;                    // KELLIB3_TIME_SCALE
  std::optional<std::int64_t> triggerNs;     // KELLIB3_TRIGGER_MS (virtual)
  std::filesystem::path stateDir;            // KELLIB3_STATE_DIR
};

// Reads the environment; throws LibError (Configuration) naming the bad variable.
Config configFromEnvironment();

}  // namespace kellib3
