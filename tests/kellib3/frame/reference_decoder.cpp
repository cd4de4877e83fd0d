#include "tests/kellib3/frame/reference_decoder.h"

#include <gtest/gtest.h>

namespace kellib3::test {

std::array<std::uint32_t, 8> referenceGroup(std::span<const std::uint8_t> dma, std::size_t block, std::size_t g) {
  static const int kXyz[8][3] = {{0, 1, 2},    {3, 4, 5},    {6, 7, 15},   {8, 9, 10},
                                 {11, 12, 13}, {14, 22, 23}, {16, 17, 18}, {19, 20, 21}};
  const std::uint8_t* group = dma.data() + block + g * 24;
  const std::uint8_t flags = dma[block + 192 + g];
  std::array<std::uint32_t, 8> words{};
  for (int w = 0; w < 8; ++w) {
    std::uint32_t word = (std::uint32_t(group[kXyz[w][0]]) << 16) | (std::uint32_t(group[kXyz[w][1]]) << 8) |
                         group[kXyz[w][2]];
    word |= std::uint32_t((flags >> (7 - w)) & 1) << 24;
    words[w] = word;
  }
  return words;
}

std::vector<std::uint32_t> referenceWords(std::span<const std::uint8_t> dma, unsigned width, unsigned height) {
  const std::size_t limit = std::size_t(10) * width * height / 32;
  const std::size_t wanted = std::size_t(width) * height / 10;
  std::vector<std::uint32_t> words;
  for (std::size_t block = 0; block < limit; block += 200) {
    for (std::size_t g = 0; g < 8; ++g) {
      const std::size_t offset = block + g * 24;
      if (offset >= limit) break;
      // The reader must never need bytes the packer did not provide.
      EXPECT_LE(block + 200, dma.size()) << "group at " << offset << " lies outside the part";
      if (block + 200 > dma.size()) return words;
      const auto group = referenceGroup(dma, block, g);
      words.insert(words.end(), group.begin(), group.end());
    }
  }
  EXPECT_GE(words.size(), wanted);
  words.resize(wanted);
  return words;
}

namespace {

struct BitSource {
  int part;  // 0..3 for P1..P4
  int bit;
};

// Bits 7..0 of the two scattered pixels of each group of ten.
constexpr BitSource kPixel4[8] = {{0, 24}, {0, 23}, {2, 24}, {2, 23}, {0, 22}, {0, 21}, {0, 20}, {2, 22}};
constexpr BitSource kPixel5[8] = {{1, 24}, {3, 24}, {1, 23}, {3, 23}, {1, 22}, {3, 22}, {3, 21}, {1, 21}};

std::uint8_t gather(const std::uint32_t (&p)[4], const BitSource (&bits)[8]) {
  std::uint8_t v = 0;
  for (int i = 0; i < 8; ++i) v = static_cast<std::uint8_t>((v << 1) | ((p[bits[i].part] >> bits[i].bit) & 1));
  return v;
}

// Bits hi..hi-7 of part `part`.
std::uint8_t field(const std::uint32_t (&p)[4], int part, int hi) {
  return static_cast<std::uint8_t>((p[part] >> (hi - 7)) & 0xFF);
}

}  // namespace

std::vector<std::uint8_t> referenceUnpack(const std::array<std::vector<std::uint8_t>, 4>& parts, unsigned width,
                                          unsigned height) {
  std::array<std::vector<std::uint32_t>, 4> words;
  for (int i = 0; i < 4; ++i) words[i] = referenceWords(parts[i], width, height);
  std::vector<std::uint8_t> out(std::size_t(width) * height);
  for (std::size_t k = 0; k < words[0].size(); ++k) {
    const std::uint32_t p[4] = {words[0][k], words[1][k], words[2][k], words[3][k]};
    std::uint8_t* px = out.data() + 10 * k;
    px[0] = field(p, 0, 9);
    px[1] = field(p, 1, 9);
    px[2] = field(p, 0, 19);
    px[3] = field(p, 1, 19);
    px[4] = gather(p, kPixel4);
    px[5] = gather(p, kPixel5);
    px[6] = field(p, 2, 9);
    px[7] = field(p, 3, 9);
    px[8] = field(p, 2, 19);
    px[9] = field(p, 3, 19);
  }
  return out;
}

}  // namespace kellib3::test
