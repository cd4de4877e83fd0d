// The shooting-parameter file written beside a saved film: one line per
// camera value, a label left-justified in 23 characters followed by the
// value and, for some, a unit. Stored in code page 1251 with CRLF line ends.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "filter/hardware/kellib3.h"

namespace Orvo {

struct ShootingParameters {
  struct Exposure {
    std::int32_t value = 0;
    // Below 1 us the value is in nanoseconds.
    bool nanoseconds = false;
  };
  struct Window {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
  };
  struct WhiteBalance {
    bool automatic = false;
    std::uint32_t red = 0, green = 0, blue = 0;
  };

  // Camera options; an option the camera lacks has no line.
  std::optional<std::int32_t> framePeriodUs;
  std::optional<Exposure> exposure;
  bool background = false;
  std::optional<Window> window;
  std::optional<std::int32_t> decimation;
  std::optional<std::int32_t> gain;
  std::optional<std::int32_t> blackLevel;
  // The filter's own settings.
  std::int32_t digitalGain = 0;
  // Present only while white balance is enabled.
  std::optional<WhiteBalance> whiteBalance;
  bool gamma = false;
  std::uint32_t correctionBlack = 0;
  std::uint32_t correctionWhite = 0;
  // Shutter (image intensifier) options.
  std::optional<std::int32_t> shutterVoltage;
  std::optional<std::int32_t> shutterCount;
  std::optional<std::int32_t> shutterPeriodUs;
};

// Reads the options straight from the library (not from the catalogue's
// caches) and the filter's white balance and level settings. `background`
// is whether subtraction is on. Throws LIB3::CError (source unit
// StFileSource) for a refused read of an option the camera has.
ShootingParameters ReadShootingParameters(KL3_HANDLE system, KL3_HANDLE error, bool background);

// The file's text: UTF-8 with CRLF line ends.
std::string FormatShootingParameters(const ShootingParameters& parameters);

// Writes `bytes` to a temporary file beside `path`, flushes it to the disk
// and renames it over `path`, so a crash leaves the old file or the new one,
// never half of one. False with the reason in `why` when any step fails; the
// temporary file is removed then.
bool WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string& why);

}  // namespace Orvo
