// Packs 10-bit samples into the grabber's four DMA parts.
//
// Ten pixels make one 25-bit word in each part. Pixels 0-3 and 6-9 of a group
// sit whole (10 bits) in bits 9..0 and 19..10 of their words; pixels 4 and 5
// are scattered bit by bit over bits 24..20 of the four words. Their two least
// significant bits ride in the otherwise unused bits 21..20 of part 3 (pixel 4)
// and bit 20 of parts 2 and 4 (pixel 5 bit 1 and bit 0), so the packing loses
// nothing; an 8-bit reader never looks at them.
//
// Eight words form a 24-byte group (three bytes each, most significant first,
// in a shuffled order) plus bit 24 of each word in the group's flag byte.
#include "kellib3/frame/packing.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <stdexcept>
#include <string>

namespace kellib3 {
namespace {

constexpr std::size_t kBlockBytes = 200;
constexpr std::size_t kGroupBytes = 24;
constexpr std::size_t kGroupsPerBlock = 8;
constexpr std::size_t kFlagOffset = kGroupsPerBlock * kGroupBytes;
constexpr std::size_t kWordsPerGroup = 8;
constexpr std::size_t kPixelsPerWord = 10;
constexpr std::size_t kPixelsPerGroup = kWordsPerGroup * kPixelsPerWord;

constexpr std::uint32_t bit(std::uint32_t v, unsigned from, unsigned to) { return ((v >> from) & 1u) << to; }

struct Words {
  std::uint32_t p[4];
};

// The four words of one group of ten pixels.
inline Words packTen(const std::uint16_t* s) {
  const std::uint32_t p4 = s[4] & 0x3FFu;
  const std::uint32_t p5 = s[5] & 0x3FFu;
  Words w;
  w.p[0] = (s[0] & 0x3FFu) | (std::uint32_t(s[2] & 0x3FFu) << 10) | (((p4 >> 8) & 3u) << 23) |
           (((p4 >> 3) & 7u) << 20);
  w.p[1] = (s[1] & 0x3FFu) | (std::uint32_t(s[3] & 0x3FFu) << 10) | bit(p5, 9, 24) | bit(p5, 7, 23) |
           bit(p5, 5, 22) | bit(p5, 2, 21) | bit(p5, 1, 20);
  w.p[2] = (s[6] & 0x3FFu) | (std::uint32_t(s[8] & 0x3FFu) << 10) | (((p4 >> 6) & 3u) << 23) | ((p4 & 7u) << 20);
  w.p[3] = (s[7] & 0x3FFu) | (std::uint32_t(s[9] & 0x3FFu) << 10) | bit(p5, 8, 24) | bit(p5, 6, 23) |
           bit(p5, 4, 22) | bit(p5, 3, 21) | bit(p5, 0, 20);
  return w;
}

inline void storeBigEndian64(std::uint8_t* dst, std::uint64_t v) {
  if constexpr (std::endian::native == std::endian::little) v = __builtin_bswap64(v);
  std::memcpy(dst, &v, sizeof v);
}

// Lays eight words into a group and returns its flag byte. The group's bytes,
// as three 8-byte runs: w0 w1 w2.x w2.y | w3 w4 w5.x w2.z | w6 w7 w5.y w5.z.
inline std::uint8_t storeGroup(const std::uint32_t (&w)[kWordsPerGroup], std::uint8_t* group) {
  auto low24 = [](std::uint32_t v) { return std::uint64_t(v & 0xFFFFFFu); };
  const std::uint64_t a = (low24(w[0]) << 40) | (low24(w[1]) << 16) | ((w[2] >> 8) & 0xFFFFu);
  const std::uint64_t b = (low24(w[3]) << 40) | (low24(w[4]) << 16) | (((w[5] >> 16) & 0xFFu) << 8) | (w[2] & 0xFFu);
  const std::uint64_t c = (low24(w[6]) << 40) | (low24(w[7]) << 16) | (w[5] & 0xFFFFu);
  storeBigEndian64(group, a);
  storeBigEndian64(group + 8, b);
  storeBigEndian64(group + 16, c);
  std::uint32_t flags = 0;
  for (std::size_t i = 0; i < kWordsPerGroup; ++i) flags |= ((w[i] >> 24) & 1u) << (7 - i);
  return static_cast<std::uint8_t>(flags);
}

// Packs the 80 pixels of group `g` (counted over the whole part) into all four parts.
inline void packGroup(const std::uint16_t* pixels, std::size_t g, std::uint8_t* const (&dst)[4]) {
  std::uint32_t words[4][kWordsPerGroup];
  for (std::size_t i = 0; i < kWordsPerGroup; ++i) {
    const Words w = packTen(pixels + i * kPixelsPerWord);
    for (int part = 0; part < 4; ++part) words[part][i] = w.p[part];
  }
  const std::size_t block = (g / kGroupsPerBlock) * kBlockBytes;
  const std::size_t slot = g % kGroupsPerBlock;
  for (int part = 0; part < 4; ++part) {
    dst[part][block + kFlagOffset + slot] = storeGroup(words[part], dst[part] + block + slot * kGroupBytes);
  }
}

std::size_t pixelCount(unsigned width, unsigned height) {
  const std::size_t n = std::size_t(width) * height;
  if (n == 0 || n % kPixelsPerWord != 0) {
    throw std::invalid_argument("frame of " + std::to_string(width) + "x" + std::to_string(height) +
                                " pixels cannot be packed: the pixel count must be a non-zero multiple of 10");
  }
  return n;
}

}  // namespace

std::size_t dmaPartBytes(unsigned width, unsigned height) {
  const std::size_t words = pixelCount(width, height) / kPixelsPerWord;
  const std::size_t wordsPerBlock = kWordsPerGroup * kGroupsPerBlock;
  return (words + wordsPerBlock - 1) / wordsPerBlock * kBlockBytes;
}

void packFrame(std::span<const std::uint16_t> samples, unsigned width, unsigned height,
               const std::array<std::span<std::uint8_t>, 4>& parts) {
  const std::size_t pixels = pixelCount(width, height);
  const std::size_t partBytes = dmaPartBytes(width, height);
  if (samples.size() < pixels) throw std::invalid_argument("packFrame: fewer samples than pixels");
  for (const auto& part : parts) {
    if (part.size() < partBytes) throw std::invalid_argument("packFrame: DMA part buffer too small");
  }
  std::uint8_t* const dst[4] = {parts[0].data(), parts[1].data(), parts[2].data(), parts[3].data()};
  // The last block may be partly filled; its unused groups and flags stay zero.
  for (auto* d : dst) std::memset(d + partBytes - kBlockBytes, 0, kBlockBytes);

  const std::size_t fullGroups = pixels / kPixelsPerGroup;
  for (std::size_t g = 0; g < fullGroups; ++g) packGroup(samples.data() + g * kPixelsPerGroup, g, dst);

  const std::size_t rest = pixels - fullGroups * kPixelsPerGroup;
  if (rest != 0) {
    // Zero samples make zero words, which is what the unused tail must hold.
    std::uint16_t tail[kPixelsPerGroup] = {};
    std::copy_n(samples.data() + fullGroups * kPixelsPerGroup, rest, tail);
    packGroup(tail, fullGroups, dst);
  }
}

}  // namespace kellib3
