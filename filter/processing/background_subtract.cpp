#include "filter/processing/background_subtract.h"

#include <algorithm>
#include <cstring>

namespace Orvo {

void SubtractBackground(std::span<std::uint8_t> out, std::span<const std::uint8_t> frame,
                        std::span<const std::uint8_t> background, int bytesPerPixel) {
  const std::size_t total = std::min(out.size(), frame.size());
  const std::size_t n = std::min(total, background.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int f = frame[i], b = background[i];
    out[i] = f > b ? static_cast<std::uint8_t>(std::min(f - b + kBackgroundOffset, 255)) : kBackgroundOffset;
  }
  if (bytesPerPixel == 4) {
    for (std::size_t i = 3; i < n; i += 4) out[i] = frame[i];
  }
  if (total > n) std::memcpy(out.data() + n, frame.data() + n, total - n);
}

}  // namespace Orvo
