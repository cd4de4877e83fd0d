#include "filter/acquisition/converter_grey.h"

#include <algorithm>

namespace Orvo::conv {
namespace {

// Keeps the loops simple enough for the compiler to unroll; the stride is a
// template argument so each variant has a constant step.
template <int Stride>
void writeMapped(const std::uint8_t* __restrict samples, std::size_t pixels, const std::uint8_t* __restrict table,
                 std::uint8_t* __restrict out) {
  for (std::size_t i = 0; i < pixels; ++i) {
    const std::uint8_t v = table[samples[i]];
    std::uint8_t* p = out + i * Stride;
    p[0] = v;
    p[1] = v;
    p[2] = v;
  }
}

template <int Stride>
void copyPlain(const std::uint8_t* __restrict samples, std::size_t pixels, std::uint8_t* __restrict out) {
  for (std::size_t i = 0; i < pixels; ++i) {
    const std::uint8_t v = samples[i];
    std::uint8_t* p = out + i * Stride;
    p[0] = v;
    p[1] = v;
    p[2] = v;
  }
}

}  // namespace

void WriteGrey(const std::uint8_t* samples, std::size_t pixels, const Table& table, std::uint8_t* out,
               int stride) {
  if (stride == 3) {
    writeMapped<3>(samples, pixels, table.data(), out);
  } else {
    writeMapped<4>(samples, pixels, table.data(), out);
  }
}

void CopyGrey(const std::uint8_t* samples, std::size_t pixels, std::uint8_t* out, int stride) {
  if (stride == 3) {
    copyPlain<3>(samples, pixels, out);
  } else {
    copyPlain<4>(samples, pixels, out);
  }
}

void WriteSums(const std::uint8_t* samples, std::size_t width, std::size_t height, const Table& table,
               std::uint8_t* out, int stride) {
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
    }
  }
}

}  // namespace Orvo::conv
