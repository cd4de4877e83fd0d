// An independent, deliberately plain reading of the grabber's transfer layout,
// written from the layout tables and not from the packer, so the round trips
// check the packer against the layout rather than against itself.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace kellib3::test {

// The eight words of the group number `group` (0..7) of the DMA block starting at `block`.
std::array<std::uint32_t, 8> referenceGroup(std::span<const std::uint8_t> dma, std::size_t block, std::size_t group);

// The W*H/10 words of one DMA part, read group by group while the group's
// byte offset is below 10*W*H/32.
std::vector<std::uint32_t> referenceWords(std::span<const std::uint8_t> dma, unsigned width, unsigned height);

// The 8-bit picture (row-major) that the four parts carry.
std::vector<std::uint8_t> referenceUnpack(const std::array<std::vector<std::uint8_t>, 4>& parts, unsigned width,
                                          unsigned height);

}  // namespace kellib3::test
