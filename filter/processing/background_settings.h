// The camera settings the background film is recorded with, and the
// operator's values they replace until the film is taken: black level 30,
// 4 frames to record, exposure 2 us, stop after the frames to record, start
// at once. Every write is a managed write; an option the camera lacks is
// left alone.
#pragma once

#include <array>
#include <cstdint>

#include "filter/acquisition/System.h"
#include "filter/options/option_data.h"

namespace Orvo {

class BackgroundSettings {
 public:
  explicit BackgroundSettings(System& system) : system_(system) {}

  // Reads each present value. Done before anything changes the camera, so
  // even a procedure that fails early puts back what the operator had (the
  // mode change alone rewrites the start and stop events).
  void Remember();
  // Writes the capture values. A value that could not be read is left as it
  // is, so Restore never has to guess.
  void WriteCaptureValues();
  // Writes back every remembered value, in the order they were replaced.
  void Restore();

 private:
  struct Entry {
    std::uint32_t id;
    bool scalar;
    std::int32_t value;
    std::uint32_t unit;
    bool remembered = false;
    Options::Scalar::Value savedScalar{};
    Options::Enum::Value savedEnum{};
  };

  System& system_;
  std::array<Entry, 5> entries_{{
      {0x40000d, true, 30, 0},   // black level
      {0x400007, true, 4, 0},    // frames the record source takes
      {0x400002, true, 2, 2},    // exposure, 2 us
      {0x400005, false, 37, 0},  // stop after the frames to record
      {0x400004, false, 4, 0},   // start at once
  }};
};

}  // namespace Orvo
