// The preview graph's playback as the player panel drives it: the film's
// range, the position and the rate of the capture filter's output pin, in
// frame numbers. Failures of the seeking calls leave things as they were.
#pragma once
#include <cstdint>

#include "platform/com/unknown.h"
#include "platform/graph/graph_interfaces.h"
#include "shared/camera_interfaces.h"

class CGraph;

class PlaybackControl {
 public:
  PlaybackControl() = default;
  ~PlaybackControl();
  PlaybackControl(const PlaybackControl&) = delete;
  PlaybackControl& operator=(const PlaybackControl&) = delete;

  // Takes the graph's interfaces, reads the position and the range, and
  // runs the camera and the graph.
  void Start(CGraph& graph);

  // Reads the current position into current().
  void ReadPosition();
  // Moves to `frame`; refused (false) outside the film.
  bool Seek(std::int64_t frame);
  void SetPosition(std::int64_t frame);
  double Rate();
  void SetRate(double rate);
  void Resume();
  void Pause();

  std::int64_t first() const { return first_; }
  std::int64_t last() const { return last_; }
  std::int64_t current() const { return current_; }
  void setCurrent(std::int64_t frame) { current_ = frame; }

 private:
  // Released camera first, the graph's control last.
  ComPtr<IMediaControl> mediaControl_;
  ComPtr<IMediaSeekingLocal> seeking_;
  ComPtr<ICamera> camera_;
  std::int64_t first_ = 0;
  std::int64_t last_ = 0;
  std::int64_t current_ = 0;
};
