#include "filter/processing/StClearImageTransform.h"

#include <algorithm>
#include <exception>

#include "filter/hardware/lib3_error.h"
#include "filter/processing/background_capture.h"
#include "filter/processing/background_subtract.h"

namespace Orvo {

StClearImageTransform::StClearImageTransform(KL3_HANDLE system) : StOrvoTransform(system) {}

bool StClearImageTransform::Apply(FrameBuffer& output, const FrameBuffer& input) {
  if (output.size() != input.size()) output.resize(input.size());
  if (Enabled()) SubtractBackground(output, input, backgrounds_[static_cast<std::size_t>(index_)], bytesPerPixel_);
  else std::copy(input.begin(), input.end(), output.begin());
  if (index_ < kBackgrounds - 1) ++index_;
  return true;
}

bool StClearImageTransform::Capture(KL3_HANDLE system, FrameConverter& converter, int bytesPerPixel) {
  bool taken = true;
  lastError_.clear();
  bytesPerPixel_ = bytesPerPixel;
  try {
    BackgroundCapture capture(system, converter, Input(), Header(), ErrorHandle());
    width_ = capture.Width();
    height_ = capture.Height();
    // Background k comes from film frame k, so each of the first frames
    // after the start of streaming has a background of its own position.
    for (int k = 0; k < kBackgrounds; ++k) capture.Take(k, bytesPerPixel, backgrounds_[static_cast<std::size_t>(k)]);
  } catch (const LIB3::CError& e) {
    // The procedure around the capture puts the camera back either way, and
    // a missing background only means frames pass unchanged.
    lastError_ = e.Text();
    taken = false;
  } catch (const std::exception& e) {
    // A frame the converter cannot take (a pixel size it does not know).
    lastError_ = e.what();
    taken = false;
  }
  index_ = 0;
  return taken;
}

std::span<const std::uint8_t> StClearImageTransform::Background(int k) const {
  if (k < 0 || k >= kBackgrounds) return {};
  return backgrounds_[static_cast<std::size_t>(k)];
}

}  // namespace Orvo
