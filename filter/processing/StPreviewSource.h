// The stream source of preview mode: plays back the film recorded in the
// grabber's memory. Each createData turns the elapsed time and the rate into
// a frame number, selects that frame through the frame-range option and
// transfers it with the four-part frame cycle.
//
// The playback operations (the pin's seeking interface) run on the
// application's thread without a lock; createData on the streaming thread.
// createData lets nothing escape: library and converter errors are posted to
// the notify window and end the stream.
#pragma once

#include <cstdint>
#include <string_view>

#include "filter/acquisition/StOrvoSource.h"
#include "filter/processing/preview_playback.h"

namespace Orvo {

class StPreviewSource final : public StOrvoSource {
 public:
  // The film's range starts as the save and overlay frame range.
  StPreviewSource(Holder& holder, HWND notifyWindow);

  bool createData(FrameBuffer& raw) override;

  // Playback operations, all on the tick count of plat::tickCount.
  void SetRange(std::int32_t first, std::int32_t last) { playback_.SetRange(first, last); }
  std::int32_t FirstFrame() const { return playback_.First(); }
  std::int32_t LastFrame() const { return playback_.Last(); }
  std::int32_t CurrentPosition() const { return playback_.Current(); }
  // Only the low 32 bits of the position count.
  void Seek(std::int64_t position);
  void SetRate(double rate);
  double Rate() const { return playback_.Rate(); }
  void Resume();
  void Pause() { playback_.Pause(); }
  bool PlaybackPaused() const { return playback_.Paused(); }

 private:
  bool Produce(FrameBuffer& raw);
  void Post(std::string_view text) const;

  PreviewPlayback playback_;
};

}  // namespace Orvo
