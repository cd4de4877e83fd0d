// Per-pixel writers of the grey pictures: level-mapped samples, 2x2 sums and
// plain copies into 24-bit or 32-bit pixels. The fourth byte of a 32-bit
// pixel gets 255: players that take it for opacity show the picture.
#pragma once

#include <cstddef>
#include <cstdint>

#include "filter/acquisition/converter_tables.h"

namespace Orvo::conv {

// Pixel i of `out` gets table[samples[i]], for i below `pixels`.
void WriteGrey(const std::uint8_t* samples, std::size_t pixels, const Table& table, std::uint8_t* out,
               int stride);

// Pixel i gets samples[i] unchanged.
void CopyGrey(const std::uint8_t* samples, std::size_t pixels, std::uint8_t* out, int stride);

// The (W/2) x (H/2) picture of 2x2 block sums of the W x H samples, each
// limited to 255 and then mapped through the table. An odd last row or
// column has no complete block and is left out.
void WriteSums(const std::uint8_t* samples, std::size_t width, std::size_t height, const Table& table,
               std::uint8_t* out, int stride);

}  // namespace Orvo::conv
