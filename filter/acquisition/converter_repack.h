// The diagnostic repack of a grey picture: it sorts the pixels of every
// 10-pixel group by the DMA part that carried them. The picture is taken as
// rows of 256 pixels whatever its width; in group g of a row, pixels 0 and 2
// go to that row, 6 and 8 one row below, 1 and 3 two rows below, 7 and 9
// three rows below, at columns 2g and 2g + 1; pixels 4 and 5 are dropped.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace Orvo::conv {

constexpr std::size_t kRepackPitch = 256;

// Rearranges the `pixels` pixels of `out` in place, reading from a copy kept
// in `scratch`. A group that runs past the last pixel is not read, a target
// past the last pixel is not written, and only the three colour bytes of a
// pixel move.
void Repack(std::uint8_t* out, std::size_t pixels, int stride, std::vector<std::uint8_t>& scratch);

}  // namespace Orvo::conv
