// The grabber's transfer layout: a frame of 10-bit samples travels as four
// DMA parts of packed words (200-byte blocks of eight 24-byte groups and eight
// flag bytes). The frame converter of the capture filter reads exactly this.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace kellib3 {

// Bytes of one DMA part for a W x H frame: whole 200-byte blocks holding the
// W*H/10 words of the part (W*H must be a multiple of 10).
std::size_t dmaPartBytes(unsigned width, unsigned height);

// Packs W*H samples (10-bit, 0..1023, row-major) into the four parts; each
// span must hold dmaPartBytes(width, height) bytes.
void packFrame(std::span<const std::uint16_t> samples, unsigned width, unsigned height,
               const std::array<std::span<std::uint8_t>, 4>& parts);

}  // namespace kellib3
