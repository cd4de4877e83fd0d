#include "filter/capture/frame_copy.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace Kel {
namespace {

using Table = std::array<std::uint8_t, 256>;

Table gainTable(unsigned shift) {
  Table t{};
  for (unsigned v = 0; v < 256; ++v) t[v] = static_cast<std::uint8_t>(std::min<std::uint64_t>(std::uint64_t{v} << shift, 255));
  return t;
}

void mapBytes(const std::uint8_t* from, std::uint8_t* to, std::size_t n, const Table* table) {
  if (!table) {
    std::memcpy(to, from, n);
    return;
  }
  for (std::size_t i = 0; i < n; ++i) to[i] = (*table)[from[i]];
}

// Rows that fit in both buffers.
std::size_t rowsThatFit(std::size_t frame, std::size_t sample, std::size_t rowBytes, std::uint32_t height) {
  if (rowBytes == 0) return 0;
  return std::min({std::size_t{height}, frame / rowBytes, sample / rowBytes});
}

}  // namespace

void CopyStraight(std::span<const std::uint8_t> frame, std::span<std::uint8_t> sample, const CopyLayout& layout,
                  int gain) {
  Table table;
  const Table* shift = nullptr;
  if (gain > 0) {
    table = gainTable(GainShift(gain));
    shift = &table;
  }
  if (!layout.saveMode) {
    mapBytes(frame.data(), sample.data(), std::min(frame.size(), sample.size()), shift);
    return;
  }
  const std::size_t rowBytes = std::size_t{layout.width} * static_cast<std::size_t>(std::max(layout.bytesPerPixel, 0));
  if (rowBytes == 0) return;
  // Frame row r lands on picture row height - 1 - r; rows outside either
  // buffer are left out.
  const std::size_t rows = std::min(std::size_t{layout.height}, frame.size() / rowBytes);
  for (std::size_t r = 0; r < rows; ++r) {
    const std::size_t to = layout.height - 1 - r;
    if ((to + 1) * rowBytes > sample.size()) continue;
    mapBytes(frame.data() + r * rowBytes, sample.data() + to * rowBytes, rowBytes, shift);
  }
}

void CopyRotated(std::span<const std::uint8_t> frame, std::span<std::uint8_t> sample, const CopyLayout& layout,
                 int gain) {
  const Table table = gainTable(GainShift(gain));
  const auto bpp = static_cast<std::size_t>(std::max(layout.bytesPerPixel, 0));
  if (bpp == 0) return;
  const auto reverse = [&](const std::uint8_t* from, std::uint8_t* to, std::size_t pixels) {
    for (std::size_t i = 0; i < pixels; ++i) {
      const std::uint8_t* p = from + (pixels - 1 - i) * bpp;
      for (std::size_t b = 0; b < bpp; ++b) to[i * bpp + b] = table[p[b]];
    }
  };
  if (!layout.saveMode) {
    reverse(frame.data(), sample.data(), std::min(frame.size(), sample.size()) / bpp);
    return;
  }
  const std::size_t rowBytes = std::size_t{layout.width} * bpp;
  const std::size_t rows = rowsThatFit(frame.size(), sample.size(), rowBytes, layout.height);
  for (std::size_t r = 0; r < rows; ++r) reverse(frame.data() + r * rowBytes, sample.data() + r * rowBytes, layout.width);
}

}  // namespace Kel
