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
// W*H/10 words of the part. Throws std::invalid_argument unless W*H is a
// non-zero multiple of 10.
std::size_t dmaPartBytes(unsigned width, unsigned height);

// Packs W*H samples (10-bit, 0..1023, row-major; higher bits are ignored) into
// the four parts; each span must hold dmaPartBytes(width, height) bytes (more
// is allowed and left alone). Word and flag bits past the frame's last word
// are zero. Nothing is lost: the two low bits of pixels 10k+4 and 10k+5,
// which the 8-bit reading skips, travel in P3 bits 21..20 and in bit 20 of
// P2 (bit 1) and P4 (bit 0). Throws std::invalid_argument for a bad size, too
// few samples or a short part.
void packFrame(std::span<const std::uint16_t> samples, unsigned width, unsigned height,
               const std::array<std::span<std::uint8_t>, 4>& parts);

}  // namespace kellib3
