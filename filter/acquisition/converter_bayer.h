// The colour picture from a Bayer mosaic: red on even rows at odd columns,
// blue on odd rows at even columns, green elsewhere.
#pragma once

#include <cstddef>
#include <cstdint>

#include "filter/acquisition/converter_tables.h"

namespace Orvo::conv {

// Bytes past the end of the mosaic that must be readable: the vector loops
// read whole registers across the end of a row.
constexpr std::size_t kMosaicSlack = 128;

struct ChannelSums {
  std::uint64_t red = 0;
  std::uint64_t green = 0;
  std::uint64_t blue = 0;
};

ChannelSums SumChannels(const std::uint8_t* mosaic, std::size_t width, std::size_t height);

// Output pixel (x, y) is made from mosaic rows y + 1 and y + 2: blue from
// the odd row at 2*floor(x/2), red from the even row at 2*ceil(x/2) + 1,
// green the mean of the even row's sample left of red and the odd row's
// sample right of blue. The last two columns repeat column W - 3, the last
// two rows repeat row H - 3. A mosaic under 3 x 3 has no such cell: its
// pixels are written black. The mosaic is read up to kMosaicSlack bytes past
// its end.
void Demosaic(const std::uint8_t* mosaic, std::size_t width, std::size_t height, const ChannelTables& tables,
              std::uint8_t* out, int stride);

}  // namespace Orvo::conv
