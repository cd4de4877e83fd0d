// A machine-readable frame number along the top edge of every virtual-camera
// frame, so tests can tell which frame survived conversion and saving.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

namespace kellib3 {

inline constexpr unsigned kStripBits = 32;

// Rows the strip covers in a frame of this height: max(8, height / 32)
// rounded down to even; 0 below 8 rows.
unsigned frameStripRows(unsigned height);

// Writes the strip of `frameNumber` into 10-bit samples (row-major, W x H):
// 32 blocks, bit 31 leftmost, block i starting at column i*W/32 rounded down
// to even,
// 0 for a clear bit and 1023 for a set one. Frames narrower than 128 or lower
// than 8 rows carry no strip. Throws std::invalid_argument when `samples` is
// smaller than W x H.
void writeFrameStrip(std::uint32_t frameNumber, unsigned width, unsigned height,
                     std::span<std::uint16_t> samples);

// Reads the strip back from a converted picture (rows top-down, `pixelStride`
// bytes per pixel, `rowPitch` bytes per row; any channel layout whose bytes
// are all dark or all bright in a block; only the first three bytes of a pixel
// count). Accepts half-size (2x2-summed) pictures, so down to 64 x 4. Empty
// when the picture is too small or a block is neither clearly dark nor clearly
// bright. Throws std::invalid_argument when the buffer is smaller than stated.
std::optional<std::uint32_t> readFrameStrip(std::span<const std::uint8_t> picture, unsigned width,
                                            unsigned height, unsigned pixelStride, std::size_t rowPitch);

}  // namespace kellib3
