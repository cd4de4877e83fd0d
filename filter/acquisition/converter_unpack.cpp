#include "filter/acquisition/converter_unpack.h"

namespace Orvo::conv {
namespace {

inline std::uint32_t word(const std::uint8_t* g, int x, int y, int z) {
  return (std::uint32_t(g[x]) << 16) | (std::uint32_t(g[y]) << 8) | g[z];
}

inline std::uint32_t flagBit(std::uint8_t flags, int w) { return std::uint32_t((flags >> (7 - w)) & 1u) << 24; }

inline std::uint8_t bits(std::uint32_t v, int shift) { return static_cast<std::uint8_t>(v >> shift); }

inline std::uint32_t bitTo(std::uint32_t v, int from, int to) { return ((v >> from) & 1u) << to; }

}  // namespace

void ReadDmaGroups(const std::uint8_t* dma, std::size_t groups, std::uint32_t* words) {
  for (std::size_t g = 0; g < groups; ++g) {
    const std::uint8_t* block = dma + g / kGroupsPerBlock * kBlockBytes;
    const std::size_t slot = g % kGroupsPerBlock;
    const std::uint8_t* b = block + slot * kGroupBytes;
    const std::uint8_t f = block[kGroupsPerBlock * kGroupBytes + slot];
    std::uint32_t* w = words + g * kWordsPerGroup;
    w[0] = word(b, 0, 1, 2) | flagBit(f, 0);
    w[1] = word(b, 3, 4, 5) | flagBit(f, 1);
    w[2] = word(b, 6, 7, 15) | flagBit(f, 2);
    w[3] = word(b, 8, 9, 10) | flagBit(f, 3);
    w[4] = word(b, 11, 12, 13) | flagBit(f, 4);
    w[5] = word(b, 14, 22, 23) | flagBit(f, 5);
    w[6] = word(b, 16, 17, 18) | flagBit(f, 6);
    w[7] = word(b, 19, 20, 21) | flagBit(f, 7);
  }
}

void UnpackWords(const std::uint32_t* __restrict p1, const std::uint32_t* __restrict p2,
                 const std::uint32_t* __restrict p3, const std::uint32_t* __restrict p4, std::size_t words,
                 std::uint8_t* __restrict samples) {
  for (std::size_t k = 0; k < words; ++k) {
    const std::uint32_t a = p1[k], b = p2[k], c = p3[k], d = p4[k];
    std::uint8_t* s = samples + k * kPixelsPerWord;
    s[0] = bits(a, 2);
    s[1] = bits(b, 2);
    s[2] = bits(a, 12);
    s[3] = bits(b, 12);
    s[4] = static_cast<std::uint8_t>(bitTo(a, 24, 7) | bitTo(a, 23, 6) | bitTo(c, 24, 5) | bitTo(c, 23, 4) |
                                     (((a >> 20) & 7u) << 1) | bitTo(c, 22, 0));
    s[5] = static_cast<std::uint8_t>(bitTo(b, 24, 7) | bitTo(d, 24, 6) | bitTo(b, 23, 5) | bitTo(d, 23, 4) |
                                     bitTo(b, 22, 3) | bitTo(d, 22, 2) | bitTo(d, 21, 1) | bitTo(b, 21, 0));
    s[6] = bits(c, 2);
    s[7] = bits(d, 2);
    s[8] = bits(c, 12);
    s[9] = bits(d, 12);
  }
}

}  // namespace Orvo::conv
