// A film in grabber memory. Nothing is stored per frame: what has been
// recorded follows from the clock, the start and stop events and the
// settings in force, so a long film costs no memory.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "kellib3/model/camera_settings.h"

namespace kellib3 {

inline constexpr std::int32_t kStartImmediate = 4;
inline constexpr std::int32_t kStartExternal = 5;
inline constexpr std::int32_t kStopOnCommand = 4;

struct FilmSegment {
  std::int64_t fromFrame;      // settings in force from this frame on
  CameraSettings settings;
};

struct FilmStatus {
  bool recording = false;       // input still taking frames
  bool waitingTrigger = false;  // armed, start event not yet seen
  std::int64_t taken = 0;       // frames taken since the start event
  std::int64_t first = -1;      // oldest frame still in memory, -1 when none
  std::int64_t last = -1;       // newest frame, -1 when none
  std::int64_t nextDueNs = -1;  // when the next frame completes, -1 when none will
};

struct Film {
  std::int64_t inputStartNs = 0;
  bool externalStart = false;               // start event 5
  std::optional<std::int64_t> triggerNs;    // virtual time the trigger fires
  std::optional<std::int64_t> stopCommandNs;
  std::int32_t stopEvent = kStopOnCommand;
  std::int64_t framesToRecord = 0;
  std::int64_t stopDelay = 0;
  std::int64_t capacity = 0;
  std::int64_t periodNs = 1;
  std::vector<FilmSegment> segments;

  // Starts a film at `nowNs` with the settings in force.
  static Film start(std::int64_t nowNs, const CameraSettings& s, std::optional<std::int64_t> triggerAfterNs);

  FilmStatus statusAt(std::int64_t nowNs) const;
  // Settings the frame was taken with.
  const CameraSettings& settingsOf(std::int64_t frame) const;
  // Settings changed while recording apply from the next frame.
  void changeSettings(std::int64_t nowNs, const CameraSettings& s);
};

}  // namespace kellib3
