// The grabber's packed 10-bit layout, read back: the DMA blocks of one part
// into its 32-bit words, and the words of the four parts into one 8-bit
// sample per pixel (the 8 most significant bits of each 10-bit sample).
#pragma once

#include <cstddef>
#include <cstdint>

namespace Orvo::conv {

constexpr std::size_t kPixelsPerWord = 10;
constexpr std::size_t kWordsPerGroup = 8;
constexpr std::size_t kGroupBytes = 24;
constexpr std::size_t kGroupsPerBlock = 8;
constexpr std::size_t kBlockBytes = 200;

// Words each part carries for a frame of `pixels` pixels. A frame whose pixel
// count is not a multiple of 10 gets one more, partly used, word.
constexpr std::size_t PartWords(std::size_t pixels) { return (pixels + kPixelsPerWord - 1) / kPixelsPerWord; }

// 24-byte groups read from a DMA part: every group yields 8 words.
constexpr std::size_t PartGroups(std::size_t pixels) {
  return (PartWords(pixels) + kWordsPerGroup - 1) / kWordsPerGroup;
}

// DMA bytes that reading `groups` groups touches (the last group's flag byte
// is the furthest).
constexpr std::size_t DmaBytesRead(std::size_t groups) {
  if (groups == 0) return 0;
  const std::size_t last = groups - 1;
  return last / kGroupsPerBlock * kBlockBytes + kGroupsPerBlock * kGroupBytes + last % kGroupsPerBlock + 1;
}

// Rebuilds 8 * groups words from the DMA blocks.
void ReadDmaGroups(const std::uint8_t* dma, std::size_t groups, std::uint32_t* words);

// Unpacks `words` words of each part into 10 * words samples.
void UnpackWords(const std::uint32_t* p1, const std::uint32_t* p2, const std::uint32_t* p3,
                 const std::uint32_t* p4, std::size_t words, std::uint8_t* samples);

}  // namespace Orvo::conv
