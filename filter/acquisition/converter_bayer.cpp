#include "filter/acquisition/converter_bayer.h"

#include <algorithm>
#include <cstring>

namespace Orvo::conv {
namespace {

// Sums of the even and the odd columns of one row.
void sumRow(const std::uint8_t* __restrict row, std::size_t width, std::uint64_t& even, std::uint64_t& odd) {
  // A row of up to 16M samples fits in 32 bits; wider rows go in pieces.
  constexpr std::size_t kPiece = std::size_t(1) << 24;
  for (std::size_t start = 0; start < width; start += kPiece) {
    const std::size_t end = std::min(width, start + kPiece);
    std::uint32_t e = 0, o = 0;
    std::size_t j = start;
    for (; j + 1 < end; j += 2) {
      e += row[j];
      o += row[j + 1];
    }
    if (j < end) e += row[j];
    even += e;
    odd += o;
  }
}

template <int Stride>
void demosaicRow(const std::uint8_t* __restrict even, const std::uint8_t* __restrict odd, std::size_t width,
                 const ChannelTables& t, std::uint8_t* __restrict out) {
  const std::uint8_t* __restrict tr = t.red.data();
  const std::uint8_t* __restrict tg = t.green.data();
  const std::uint8_t* __restrict tb = t.blue.data();
  const std::size_t n = width - 2;  // computed pixels
  for (std::size_t x = 0; x < n; ++x) {
    const std::size_t redCol = 2 * ((x + 1) / 2) + 1;
    const std::size_t blueCol = 2 * (x / 2);
    std::uint8_t* p = out + x * Stride;
    p[0] = tb[odd[blueCol]];
    p[1] = tg[(unsigned(even[redCol - 1]) + odd[blueCol + 1]) / 2];
    p[2] = tr[even[redCol]];
  }
  for (std::size_t x = n; x < width; ++x) std::memcpy(out + x * Stride, out + (n - 1) * Stride, 3);
}

template <int Stride>
void demosaic(const std::uint8_t* mosaic, std::size_t width, std::size_t height, const ChannelTables& t,
              std::uint8_t* out) {
  const std::size_t rowBytes = width * Stride;
  for (std::size_t y = 0; y + 2 < height; ++y) {
    const std::uint8_t* a = mosaic + (y + 1) * width;
    const std::uint8_t* b = a + width;
    const bool aEven = (y + 1) % 2 == 0;
    demosaicRow<Stride>(aEven ? a : b, aEven ? b : a, width, t, out + y * rowBytes);
  }
  const std::uint8_t* last = out + (height - 3) * rowBytes;
  for (std::size_t y = height - 2; y < height; ++y) {
    std::uint8_t* o = out + y * rowBytes;
    if constexpr (Stride == 3) {
      std::memcpy(o, last, rowBytes);
    } else {
      for (std::size_t x = 0; x < width; ++x) std::memcpy(o + x * Stride, last + x * Stride, 3);
    }
  }
}

}  // namespace

ChannelSums SumChannels(const std::uint8_t* mosaic, std::size_t width, std::size_t height) {
  ChannelSums s;
  for (std::size_t i = 0; i < height; ++i) {
    std::uint64_t even = 0, odd = 0;
    sumRow(mosaic + i * width, width, even, odd);
    if (i % 2 == 0) {
      s.green += even;
      s.red += odd;
    } else {
      s.blue += even;
      s.green += odd;
    }
  }
  return s;
}

void Demosaic(const std::uint8_t* mosaic, std::size_t width, std::size_t height, const ChannelTables& tables,
              std::uint8_t* out, int stride) {
  if (width < 3 || height < 3) {
    for (std::size_t i = 0; i < width * height; ++i) std::memset(out + i * stride, 0, 3);
    return;
  }
  if (stride == 3) {
    demosaic<3>(mosaic, width, height, tables, out);
  } else {
    demosaic<4>(mosaic, width, height, tables, out);
  }
}

}  // namespace Orvo::conv
