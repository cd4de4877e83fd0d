#include "filter/acquisition/converter_bayer.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

#include "filter/acquisition/converter_avx512.h"
#include "filter/acquisition/converter_isa.h"

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

// Red and blue samples are mapped once per mosaic row (each row serves two
// output rows, each sample two output pixels); only green, the mean of two
// samples, needs a lookup per pixel.
struct MappedRows {
  std::vector<std::uint8_t> red, blue;
  std::size_t redRow = SIZE_MAX, blueRow = SIZE_MAX;
};

// Pixels W - 2 and W - 1 of a row repeat pixel W - 3 (its fourth byte too).
void copyLastColumns(std::uint8_t* row, std::size_t width, int stride) {
  const std::size_t n = width - 2;
  for (std::size_t x = n; x < width; ++x) std::memcpy(row + x * stride, row + (n - 1) * stride, stride);
}

// Rows H - 2 and H - 1 repeat row H - 3.
void copyLastRows(std::uint8_t* out, std::size_t width, std::size_t height, int stride) {
  const std::size_t rowBytes = width * stride;
  const std::uint8_t* last = out + (height - 3) * rowBytes;
  for (std::size_t y = height - 2; y < height; ++y) std::memcpy(out + y * rowBytes, last, rowBytes);
}

template <int Stride>
void demosaicRow(const std::uint8_t* __restrict even, const std::uint8_t* __restrict odd, std::size_t width,
                 const std::uint8_t* __restrict red, const std::uint8_t* __restrict blue,
                 const std::uint8_t* __restrict tg, std::uint8_t* __restrict out) {
  const std::size_t n = width - 2;  // computed pixels
  for (std::size_t x = 0; x < n; ++x) {
    const std::uint32_t b = blue[x / 2];
    const std::uint32_t g = tg[(unsigned(even[2 * ((x + 1) / 2)]) + odd[2 * (x / 2) + 1]) / 2];
    const std::uint32_t r = red[(x + 1) / 2];
    std::uint8_t* p = out + x * Stride;
    if constexpr (Stride == 4) {
      // 255 in the fourth byte: the opacity players read.
      const std::uint32_t v = std::endian::native == std::endian::little ? b | g << 8 | r << 16 | 0xFF000000u
                                                                         : b << 24 | g << 16 | r << 8 | 0xFFu;
      std::memcpy(p, &v, 4);
    } else {
      p[0] = static_cast<std::uint8_t>(b);
      p[1] = static_cast<std::uint8_t>(g);
      p[2] = static_cast<std::uint8_t>(r);
    }
  }
  copyLastColumns(out, width, Stride);
}

template <int Stride>
void demosaic(const std::uint8_t* mosaic, std::size_t width, std::size_t height, const ChannelTables& t,
              std::uint8_t* out) {
  const std::size_t rowBytes = width * Stride;
  MappedRows mapped;
  mapped.red.resize(width / 2);
  mapped.blue.resize((width + 1) / 2);
  for (std::size_t y = 0; y + 2 < height; ++y) {
    const std::size_t evenRow = (y + 1) % 2 == 0 ? y + 1 : y + 2;
    const std::size_t oddRow = evenRow == y + 1 ? y + 2 : y + 1;
    const std::uint8_t* even = mosaic + evenRow * width;
    const std::uint8_t* odd = mosaic + oddRow * width;
    if (mapped.redRow != evenRow) {
      for (std::size_t i = 0; i < mapped.red.size(); ++i) mapped.red[i] = t.red[even[2 * i + 1]];
      mapped.redRow = evenRow;
    }
    if (mapped.blueRow != oddRow) {
      for (std::size_t i = 0; i < mapped.blue.size(); ++i) mapped.blue[i] = t.blue[odd[2 * i]];
      mapped.blueRow = oddRow;
    }
    demosaicRow<Stride>(even, odd, width, mapped.red.data(), mapped.blue.data(), t.green.data(),
                        out + y * rowBytes);
  }
  copyLastRows(out, width, height, Stride);
}

// The same rows with whole mosaic rows mapped through the red and blue
// tables (with room for the vector loop's reads past their end).
void demosaicAvx512(const std::uint8_t* mosaic, std::size_t width, std::size_t height, const ChannelTables& t,
                    std::uint8_t* out, int stride) {
  const std::size_t rowBytes = width * stride;
  std::vector<std::uint8_t> mappedEven(width + kMosaicSlack), mappedOdd(width + kMosaicSlack);
  std::size_t evenMapped = SIZE_MAX, oddMapped = SIZE_MAX;
  for (std::size_t y = 0; y + 2 < height; ++y) {
    const std::size_t evenRow = (y + 1) % 2 == 0 ? y + 1 : y + 2;
    const std::size_t oddRow = evenRow == y + 1 ? y + 2 : y + 1;
    const std::uint8_t* even = mosaic + evenRow * width;
    const std::uint8_t* odd = mosaic + oddRow * width;
    if (evenMapped != evenRow) {
      avx512::MapRow(even, width, t.red.data(), mappedEven.data());
      evenMapped = evenRow;
    }
    if (oddMapped != oddRow) {
      avx512::MapRow(odd, width, t.blue.data(), mappedOdd.data());
      oddMapped = oddRow;
    }
    std::uint8_t* row = out + y * rowBytes;
    avx512::DemosaicRow(even, odd, width, mappedEven.data(), mappedOdd.data(), t.green.data(), row, stride);
    // Pixel W - 3 once more from the rows: reading it back from the output
    // would wait for the vector stores to complete.
    const std::size_t x = width - 3;
    const unsigned green = (unsigned(even[2 * ((x + 1) / 2)]) + odd[2 * (x / 2) + 1]) / 2;
    const std::uint8_t px[4] = {mappedOdd[2 * (x / 2)], t.green[green], mappedEven[2 * ((x + 1) / 2) + 1], 255};
    std::memcpy(row + (x + 1) * stride, px, stride);
    std::memcpy(row + (x + 2) * stride, px, stride);
  }
  copyLastRows(out, width, height, stride);
}

}  // namespace

ChannelSums SumChannels(const std::uint8_t* mosaic, std::size_t width, std::size_t height) {
  if (ActiveIsa() == Isa::Avx512) return avx512::SumChannels(mosaic, width, height);
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
    for (std::size_t i = 0; i < width * height; ++i) {
      std::memset(out + i * stride, 0, 3);
      if (stride == 4) out[i * stride + 3] = 255;
    }
    return;
  }
  if (ActiveIsa() == Isa::Avx512) {
    demosaicAvx512(mosaic, width, height, tables, out, stride);
  } else if (stride == 3) {
    demosaic<3>(mosaic, width, height, tables, out);
  } else {
    demosaic<4>(mosaic, width, height, tables, out);
  }
}

}  // namespace Orvo::conv
