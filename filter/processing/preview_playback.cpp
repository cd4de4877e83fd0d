#include "filter/processing/preview_playback.h"

#include <cmath>

namespace Orvo {
namespace {

// Far beyond any film length, and exact in a double.
constexpr double kMaxSteps = 9.0e15;

std::int64_t floorMod(std::int64_t value, std::int64_t length) {
  const std::int64_t r = value % length;
  return r < 0 ? r + length : r;
}

// Whole frames a run at `rate` has advanced after `elapsedMs`.
std::uint64_t stepsAfter(std::uint32_t elapsedMs, double rate) {
  const double steps = std::floor(static_cast<double>(elapsedMs) * std::fabs(rate) /
                                  static_cast<double>(PreviewPlayback::kFrameIntervalMs));
  if (!(steps > 0)) return 0;  // rate 0, or not a number
  return static_cast<std::uint64_t>(steps < kMaxSteps ? steps : kMaxSteps);
}

}  // namespace

void PreviewPlayback::SetRange(std::int32_t first, std::int32_t last) {
  first_ = first;
  last_ = last;
}

void PreviewPlayback::Seek(std::int32_t position, std::uint32_t now) {
  current_.exchange(position);
  if (!paused_.load()) StartRun(now);
}

void PreviewPlayback::SetRate(double rate, std::uint32_t now) {
  rate_ = rate;
  StartRun(now);
}

void PreviewPlayback::Resume(std::uint32_t now) {
  paused_ = false;
  StartRun(now);
}

void PreviewPlayback::StartRun(std::uint32_t now) {
  start_ = current_.load();
  startTick_ = now;
}

std::int32_t PreviewPlayback::Next(std::uint32_t now) {
  std::int32_t before = current_.load();
  if (paused_.load()) return before;
  const std::int64_t first = first_.load(), last = last_.load();
  // A film of first ... last holds last - first + 1 frames.
  const std::int64_t length = last - first + 1;
  if (length <= 1) return before;
  const double rate = rate_.load();
  const auto steps = static_cast<std::int64_t>(stepsAfter(now - startTick_.load(), rate) %
                                               static_cast<std::uint64_t>(length));
  const std::int64_t start = start_.load();
  const std::int64_t frame =
      rate >= 0 ? first + floorMod(start - first + steps, length) : last - floorMod(last - start + steps, length);
  // A seek that landed meanwhile wins: the player's choice is never lost.
  if (!current_.compare_exchange_strong(before, static_cast<std::int32_t>(frame))) return before;
  return static_cast<std::int32_t>(frame);
}

}  // namespace Orvo
