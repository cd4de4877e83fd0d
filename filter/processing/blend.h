// The frame information overlay of the capture filter: the camera values
// shown over every frame in preview and save mode, read from the hardware
// library, and their text drawn and blended into the output samples.
//
// Each camera system owns one (System::Overlay), made for its handle, so
// two cameras of one process never show each other's values. How the
// output pin and the camera interface use it:
// - when the media type is fixed (GetMediaType): PrepareBitmap with the
//   output's BITMAP description (width, negative height, 1 plane, 24 or 32
//   bits per pixel);
// - after each frame in preview or save mode, when the overlay is enabled
//   in the save and overlay settings: Draw(sample, sample size, frame
//   number, save mode) — preview: the playback position just shown; save:
//   the film file source's next frame number;
// - RunCamera in preview mode, and in save mode when no refresh was made
//   since the film was recorded: Refresh, showing a LIB3::CError it throws
//   with the prefix "RunCamera";
// - EnableBackgroundSubtraction: SetBackground.
// Draw runs on the streaming thread; Refresh and SetBackground on the
// shell's thread. The values are single atomic words, so a frame drawn
// during a refresh may mix old and new values but never tears one.
#pragma once

#include <atomic>
#include <cstdint>

#include "filter/hardware/error_data.h"
#include "filter/processing/blend_cells.h"
#include "filter/processing/blend_info.h"

namespace Blend {

class BlendInfoEx final : public BlendInfo {
 public:
  explicit BlendInfoEx(KL3_HANDLE system);

  // Re-reads the camera values; throws LIB3::CError (unit "blend") for a
  // refused read, keeping the values read before it.
  void Refresh();
  void SetBackground(bool on) { background_ = on; }
  // Replaces the film length the last refresh took from the settings.
  void SetFilmLength(std::int32_t length) { filmLength_ = length; }

  // The text argument is not used: the text is the camera values with
  // frame number `frame`.
  void Compose(const char* text, int frame) override;

  // Compose for `frame`, then Blend into the sample; flipped in save mode.
  void Draw(std::uint8_t* sample, std::size_t sampleBytes, int frame, bool saveMode) {
    Compose(nullptr, frame);
    Blend(sample, sampleBytes, saveMode);
  }

  // What Compose shows for `frame`: the refreshed camera values with the
  // current white balance and level settings.
  OverlayValues Values(int frame) const;

 private:
  const KL3_HANDLE system_;
  std::atomic<std::int32_t> windowHeight_{0}, windowWidth_{0};
  std::atomic<std::int32_t> period_{0}, exposure_{0};
  std::atomic<std::int32_t> shutterPeriod_{0}, shutterVoltage_{0}, shutterCount_{0};
  std::atomic<bool> shutter_{false};
  std::atomic<std::int32_t> gain_{0}, black_{0}, decimation_{0};
  std::atomic<bool> background_{false};
  std::atomic<std::int32_t> filmLength_{0};
  std::atomic<bool> exposureInMicroseconds_{true};
  LIB3::ErrorData error_;
};

}  // namespace Blend
