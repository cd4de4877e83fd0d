// Background subtraction, the frame transform of the output pin. While it is
// enabled every frame has a stored background image subtracted byte by byte
// (background_subtract.h); otherwise frames pass unchanged.
//
// Four backgrounds are taken from a short film (background_procedure.h). The
// first frame after a capture uses background 0, the second 1, the third 2,
// every later one 3. Until a background exists, frames pass unchanged even
// while subtraction is on.
//
// Threads: Apply runs on the streaming thread and Capture on the thread that
// starts streaming, both under the pin lock. The enabled flag is written by
// the camera interface on the shell's thread without a lock.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <span>
#include <string>

#include "filter/acquisition/FrameConverter.h"
#include "filter/processing/StOrvoTransform.h"

namespace Orvo {

class StClearImageTransform final : public StOrvoTransform {
 public:
  static constexpr int kBackgrounds = 4;

  // Disabled, background index 0, no backgrounds. Throws LIB3::CError.
  explicit StClearImageTransform(KL3_HANDLE system);

  // `output` becomes as large as `input`. Always true.
  bool Apply(FrameBuffer& output, const FrameBuffer& input) override;

  // Takes the four backgrounds from the film in the grabber's memory (preview
  // mode, input started), each converted at `bytesPerPixel` by the camera's
  // converter like a delivered frame. False on a hardware error, whose text LastErrorText keeps for the
  // caller to report; the backgrounds taken so far stay. The background
  // index is 0 afterwards in every case.
  bool Capture(KL3_HANDLE system, FrameConverter& converter, int bytesPerPixel);
  // Why the last capture failed (UTF-8); empty after one that succeeded.
  const std::string& LastErrorText() const { return lastError_; }

  void SetEnabled(bool enabled) { enabled_ = enabled ? 1 : 0; }
  bool Enabled() const { return enabled_.load() != 0; }

  // Which background the next frame uses (0 to 3).
  int BackgroundIndex() const { return index_; }
  // Background `k` (empty until taken); k outside 0..3 gives an empty one.
  std::span<const std::uint8_t> Background(int k) const;
  // Frame size of the last capture (0 before one reached the hardware).
  unsigned Width() const { return width_; }
  unsigned Height() const { return height_; }

 private:
  std::array<FrameBuffer, kBackgrounds> backgrounds_;
  // Pin lock only.
  int index_ = 0;
  std::atomic<int> enabled_{0};
  unsigned width_ = 0;
  unsigned height_ = 0;
  // Of the backgrounds, and so of the frames they are subtracted from.
  int bytesPerPixel_ = 3;
  std::string lastError_;
};

}  // namespace Orvo
