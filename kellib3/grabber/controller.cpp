#include "kellib3/grabber/controller.h"

#include <algorithm>

#include "kellib3/core/lib_error.h"

namespace kellib3 {

Controller::Controller(unsigned index, const Config& config) : index_(index), config_(config) {
  p_.settings = defaultSettings(config);
}

void Controller::restore(Persisted p) {
  p_ = std::move(p);
  normalize(p_.settings, config_);
}

FilmStatus Controller::filmStatus(std::int64_t nowNs) const {
  return p_.film ? p_.film->statusAt(nowNs) : FilmStatus{};
}

void Controller::changeSettings(const CameraSettings& wanted, std::int64_t nowNs) {
  CameraSettings next = wanted;
  normalize(next, config_);
  const bool recording = !liveMode() && filmStatus(nowNs).recording;
  if (recording) {
    const auto& now = settings_;
    if (next.periodNs != now.periodNs || next.x != now.x || next.y != now.y || next.width != now.width ||
        next.height != now.height || next.decimation != now.decimation || next.partitions != now.partitions)
      KL3_RAISE(ErrorCode::BusyRecording, 0,
                "the frame period, input window and decimation cannot change while a film is recorded");
    p_.film->changeSettings(nowNs, next);
  }
  settings_ = next;
}

void Controller::setPartitions(std::int32_t partitions, std::int64_t nowNs) {
  if (!liveMode() && filmStatus(nowNs).recording)
    KL3_RAISE(ErrorCode::BusyRecording, 0, "grabber memory cannot be re-organised while a film is recorded");
  CameraSettings next = settings_;
  next.partitions = partitions;
  normalize(next, config_);
  settings_ = next;
  p_.film.reset();
  p_.memoryFree = true;
  p_.liveRunning = false;
  p_.selected = 0;
}

void Controller::startInput(std::int64_t nowNs) {
  if (liveMode()) {
    if (!p_.liveRunning) {
      p_.liveRunning = true;
      p_.liveStartNs = nowNs;
    }
    return;
  }
  // A film already in memory is kept for playback until memory is freed.
  if (!p_.memoryFree) return;
  p_.film = Film::start(nowNs, settings_, config_.triggerNs);
  p_.memoryFree = false;
  p_.selected = 0;
}

void Controller::stopInput(std::int64_t nowNs) {
  p_.liveRunning = false;
  if (p_.film && !p_.film->stopCommandNs && p_.film->statusAt(nowNs).recording) p_.film->stopCommandNs = nowNs;
}

bool Controller::inputRunning(std::int64_t nowNs) const {
  return liveMode() ? p_.liveRunning : filmStatus(nowNs).recording;
}

std::uint32_t Controller::state(std::int64_t nowNs) const {
  if (liveMode()) return 3;
  const auto st = filmStatus(nowNs);
  if (st.waitingTrigger) return 5;
  return st.recording ? 7 : 3;
}

std::int32_t Controller::frameOption() const { return liveMode() ? p_.visiblePeriod : p_.selected; }

std::pair<std::int32_t, std::int32_t> Controller::frameRange(std::int64_t nowNs) const {
  if (liveMode()) return {0, settings_.partitions - 1};
  const auto st = filmStatus(nowNs);
  const auto clampInt = [](std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, -1, INT32_MAX));
  };
  return {clampInt(st.first), clampInt(st.last)};
}

void Controller::setFrameOption(std::int32_t value, std::int64_t nowNs) {
  if (liveMode()) {
    p_.visiblePeriod = std::clamp(value, 0, 65535);
    return;
  }
  const auto [first, last] = frameRange(nowNs);
  p_.selected = first < 0 ? std::max(value, 0) : std::clamp(value, first, last);
}

std::optional<FrameSource> Controller::frameToTransfer(std::int64_t nowNs) const {
  if (liveMode()) {
    if (!p_.liveRunning) return std::nullopt;
    const auto done = (nowNs - p_.liveStartNs) / std::max<std::int64_t>(1, settings_.periodNs);
    if (done < 1) return std::nullopt;
    return FrameSource{done - 1, settings_};
  }
  const auto st = filmStatus(nowNs);
  if (st.last < 0 || p_.selected < st.first || p_.selected > st.last) return std::nullopt;
  return FrameSource{p_.selected, p_.film->settingsOf(p_.selected)};
}

CameraSettings Controller::deliveredSettings(std::int64_t) const {
  if (!liveMode() && p_.film && !p_.memoryFree) return p_.film->segments.front().settings;
  return settings_;
}

std::int64_t Controller::nextFrameDueNs(std::int64_t nowNs) const {
  if (liveMode()) {
    if (!p_.liveRunning) return -1;
    const auto period = std::max<std::int64_t>(1, settings_.periodNs);
    return p_.liveStartNs + ((nowNs - p_.liveStartNs) / period + 1) * period;
  }
  return filmStatus(nowNs).nextDueNs;
}

}  // namespace kellib3
