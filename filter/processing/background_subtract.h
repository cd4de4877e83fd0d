// The byte rule of background subtraction: a frame byte above its background
// byte keeps the difference lifted by a fixed offset, anything else becomes
// that offset, so the darkest result is never black.
#pragma once

#include <cstdint>
#include <span>

namespace Orvo {

inline constexpr std::uint8_t kBackgroundOffset = 20;

// For every byte both the frame and the background have: frame > background
// gives min(frame - background + 20, 255), otherwise 20. Bytes of the frame
// beyond the background are copied unchanged, so an empty background leaves
// the frame as it is. Writes min(out, frame) bytes. With 4-byte pixels the
// fourth byte of each pixel is no colour: it is copied from the frame.
void SubtractBackground(std::span<std::uint8_t> out, std::span<const std::uint8_t> frame,
                        std::span<const std::uint8_t> background, int bytesPerPixel = 3);

}  // namespace Orvo
