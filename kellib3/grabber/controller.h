// One grabber controller with its camera: the settings, the film in its
// memory and the live input. It outlives the process that uses it (state file).
#pragma once

#include <cstdint>
#include <optional>

#include "kellib3/core/config.h"
#include "kellib3/grabber/film.h"
#include "kellib3/model/camera_settings.h"

namespace kellib3 {

// The frame a transfer delivers and the settings it was taken with.
struct FrameSource {
  std::int64_t number;
  CameraSettings settings;
};

class Controller {
 public:
  Controller(unsigned index, const Config& config);
  Controller(const Controller&) = delete;
  Controller& operator=(const Controller&) = delete;

  unsigned index() const { return index_; }
  const Config& config() const { return config_; }

  // Live mode (2 or more memory partitions): the grabber shows the newest
  // frame and the frame-range option holds the visible-frame period. Film
  // mode (1 partition): input records a film and the option selects its frames.
  bool liveMode() const { return settings_.partitions >= 2; }

  const CameraSettings& settings() const { return settings_; }
  // Applies new settings (normalized). Geometry and timing cannot change
  // while a film is being recorded.
  void changeSettings(const CameraSettings& wanted, std::int64_t nowNs);
  // Writing the partition count re-organises memory: the film is discarded.
  void setPartitions(std::int32_t partitions, std::int64_t nowNs);

  void startInput(std::int64_t nowNs);
  void stopInput(std::int64_t nowNs);
  bool inputRunning(std::int64_t nowNs) const;

  // Status block state word: 3 idle, 5 waiting for the trigger, 7 recording.
  std::uint32_t state(std::int64_t nowNs) const;
  FilmStatus filmStatus(std::int64_t nowNs) const;

  // Frame-range option 0x400020 (unit 0).
  std::int32_t frameOption() const;
  void setFrameOption(std::int32_t value, std::int64_t nowNs);
  std::pair<std::int32_t, std::int32_t> frameRange(std::int64_t nowNs) const;

  // The frame a cycle opened now would transfer, if one is available.
  std::optional<FrameSource> frameToTransfer(std::int64_t nowNs) const;
  // Settings the input currently delivers frames with (the film's in film mode).
  CameraSettings deliveredSettings(std::int64_t nowNs) const;
  // When the next frame becomes available (-1: none is expected).
  std::int64_t nextFrameDueNs(std::int64_t nowNs) const;

  // Persistent parts, for the state file.
  struct Persisted {
    CameraSettings settings;
    std::optional<Film> film;
    bool memoryFree = true;
    bool liveRunning = false;
    std::int64_t liveStartNs = 0;
    std::int32_t selected = 0;
    std::int32_t visiblePeriod = 0;
  };
  const Persisted& persisted() const { return p_; }
  void restore(Persisted p);

 private:
  unsigned index_;
  Config config_;
  Persisted p_;
  CameraSettings& settings_ = p_.settings;
};

}  // namespace kellib3
