// Where playback of a recorded film stands: the film's frame range, the
// frame chosen last, and the run of playback in progress (its start frame,
// start tick and rate). The frame due at a tick follows from these alone.
//
// The player's operations run on the application's thread, the frame choice
// on the streaming thread; every field is an atomic word, and a frame chosen
// while an operation is half done is wrong for at most that one frame.
#pragma once

#include <atomic>
#include <cstdint>

namespace Orvo {

class PreviewPlayback {
 public:
  // Milliseconds per frame at rate 1.0 (25 frames a second).
  static constexpr std::uint32_t kFrameIntervalMs = 40;

  void SetRange(std::int32_t first, std::int32_t last);
  std::int32_t First() const { return first_.load(); }
  std::int32_t Last() const { return last_.load(); }
  std::int32_t Current() const { return current_.load(); }
  double Rate() const { return rate_.load(); }
  bool Paused() const { return paused_.load(); }

  // The frame shown from now on; a new run starts there unless paused.
  void Seek(std::int32_t position, std::uint32_t now);
  // A new run starts at the current frame, so the picture does not jump.
  void SetRate(double rate, std::uint32_t now);
  void Resume(std::uint32_t now);
  void Pause() { paused_ = true; }

  // The frame due at `now`, which becomes the current frame. Forward runs
  // cycle first ... last, backward runs last ... first, without end. While
  // paused, and for a film of one frame (or none), the current frame. A seek
  // made while the frame is computed wins over it.
  std::int32_t Next(std::uint32_t now);

 private:
  void StartRun(std::uint32_t now);

  std::atomic<std::int32_t> first_{0};
  std::atomic<std::int32_t> last_{0};
  std::atomic<std::int32_t> start_{0};
  std::atomic<std::int32_t> current_{0};
  std::atomic<std::uint32_t> startTick_{0};
  std::atomic<double> rate_{1.0};
  std::atomic<bool> paused_{false};
};

}  // namespace Orvo
