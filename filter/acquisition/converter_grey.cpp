#include "filter/acquisition/converter_grey.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "filter/acquisition/converter_avx512.h"
#include "filter/acquisition/converter_isa.h"

namespace Orvo::conv {
namespace {

inline void store32(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, sizeof v); }

// Grey value v in all three colour bytes of a 32-bit pixel and 255 in the
// fourth, the one at the highest address on either byte order.
constexpr std::uint32_t kFourthByte = std::endian::native == std::endian::little ? 0xFF000000u : 0x000000FFu;

inline std::uint32_t spread(std::uint32_t v) { return v * 0x01010101u; }

// Grey pixels through a table (or none): 24-bit pixels go out four at a time
// as three words, 32-bit pixels as one word each.
template <int Stride, bool Mapped>
void writePixels(const std::uint8_t* __restrict samples, std::size_t pixels, const std::uint8_t* __restrict table,
                 std::uint8_t* __restrict out) {
  auto value = [&](std::size_t i) -> std::uint32_t { return Mapped ? table[samples[i]] : samples[i]; };
  std::size_t i = 0;
  if constexpr (Stride == 4) {
    for (; i < pixels; ++i) {
      std::uint8_t* p = out + 4 * i;
      store32(p, spread(value(i)) | kFourthByte);
    }
  } else {
    for (; i + 4 <= pixels; i += 4) {
      const std::uint32_t v0 = value(i), v1 = value(i + 1), v2 = value(i + 2), v3 = value(i + 3);
      std::uint8_t bytes[12] = {std::uint8_t(v0), std::uint8_t(v0), std::uint8_t(v0), std::uint8_t(v1),
                                std::uint8_t(v1), std::uint8_t(v1), std::uint8_t(v2), std::uint8_t(v2),
                                std::uint8_t(v2), std::uint8_t(v3), std::uint8_t(v3), std::uint8_t(v3)};
      std::memcpy(out + 3 * i, bytes, sizeof bytes);
    }
    for (; i < pixels; ++i) std::memset(out + 3 * i, static_cast<int>(value(i)), 3);
  }
}

}  // namespace

void WriteGrey(const std::uint8_t* samples, std::size_t pixels, const Table& table, std::uint8_t* out,
               int stride) {
  if (ActiveIsa() == Isa::Avx512) {
    avx512::WriteGrey(samples, pixels, table.data(), out, stride);
  } else if (stride == 3) {
    writePixels<3, true>(samples, pixels, table.data(), out);
  } else {
    writePixels<4, true>(samples, pixels, table.data(), out);
  }
}

void CopyGrey(const std::uint8_t* samples, std::size_t pixels, std::uint8_t* out, int stride) {
  if (ActiveIsa() == Isa::Avx512) {
    avx512::WriteGrey(samples, pixels, nullptr, out, stride);
  } else if (stride == 3) {
    writePixels<3, false>(samples, pixels, nullptr, out);
  } else {
    writePixels<4, false>(samples, pixels, nullptr, out);
  }
}

void WriteSums(const std::uint8_t* samples, std::size_t width, std::size_t height, const Table& table,
               std::uint8_t* out, int stride) {
  if (ActiveIsa() == Isa::Avx512) {
    avx512::WriteSums(samples, width, height, table.data(), out, stride);
    return;
  }
  const std::size_t outW = width / 2;
  const std::size_t outH = height / 2;
  for (std::size_t y = 0; y < outH; ++y) {
    const std::uint8_t* r0 = samples + 2 * y * width;
    const std::uint8_t* r1 = r0 + width;
    std::uint8_t* o = out + y * outW * stride;
    for (std::size_t x = 0; x < outW; ++x) {
      const unsigned s = unsigned(r0[2 * x]) + r0[2 * x + 1] + r1[2 * x] + r1[2 * x + 1];
      const std::uint8_t v = table[std::min(s, 255u)];
      std::uint8_t* p = o + x * stride;
      p[0] = v;
      p[1] = v;
      p[2] = v;
      if (stride == 4) p[3] = 255;
    }
  }
}

}  // namespace Orvo::conv
