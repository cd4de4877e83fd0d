// A machine-readable frame number along the top edge of every virtual-camera
// frame, so tests can tell which frame survived conversion and saving.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

namespace kellib3 {

inline constexpr unsigned kStripBits = 32;

// Rows the strip covers in a frame of this height.
unsigned frameStripRows(unsigned height);

// Writes the strip of `frameNumber` into 10-bit samples (row-major, W x H).
void writeFrameStrip(std::uint32_t frameNumber, unsigned width, unsigned height,
                     std::span<std::uint16_t> samples);

// Reads the strip back from a converted picture (rows top-down, `pixelStride`
// bytes per pixel, `rowPitch` bytes per row; any channel layout whose bytes
// are all dark or all bright in a block). Empty when no strip is found.
std::optional<std::uint32_t> readFrameStrip(std::span<const std::uint8_t> picture, unsigned width,
                                            unsigned height, unsigned pixelStride, std::size_t rowPitch);

}  // namespace kellib3
