// The frame-number strip: 32 blocks across the top rows of the frame, bit 31
// leftmost, each block black (bit 0) or full white (bit 1) in every mosaic
// position. Block edges are at i * width / 32 so the same blocks appear at
// half the size after 2x2 summation; the writer rounds them down to even.
#include "kellib3/frame/frame_strip.h"

#include <algorithm>
#include <stdexcept>

namespace kellib3 {
namespace {

constexpr unsigned kMinStripRows = 8;
constexpr unsigned kMinWriteWidth = 4 * kStripBits;
// A picture may be a 2x2-summed half of the frame, so the reader accepts half
// the writer's minimum.
constexpr unsigned kMinReadWidth = kMinWriteWidth / 2;
constexpr unsigned kMinReadHeight = kMinStripRows / 2;
constexpr std::uint16_t kWhite = 1023;

// Where the reader expects block i to begin.
unsigned blockStart(unsigned i, unsigned width) { return static_cast<unsigned>(std::size_t(i) * width / kStripBits); }

// The writer starts blocks on even columns: a 2x2 sum then never mixes two
// blocks, and a demosaic reads each 2x2 cell from one block.
unsigned writtenBlockStart(unsigned i, unsigned width) { return blockStart(i, width) & ~1u; }

}  // namespace

unsigned frameStripRows(unsigned height) {
  if (height < kMinStripRows) return 0;
  return std::max(kMinStripRows, (height / 32) & ~1u);
}

void writeFrameStrip(std::uint32_t frameNumber, unsigned width, unsigned height, std::span<std::uint16_t> samples) {
  if (samples.size() < std::size_t(width) * height) {
    throw std::invalid_argument("writeFrameStrip: fewer samples than pixels");
  }
  if (width < kMinWriteWidth || height < kMinStripRows) return;  // too small to carry a strip
  const unsigned rows = frameStripRows(height);
  std::uint16_t* row0 = samples.data();
  for (unsigned i = 0; i < kStripBits; ++i) {
    const bool one = (frameNumber >> (kStripBits - 1 - i)) & 1u;
    const unsigned end = i + 1 == kStripBits ? width : writtenBlockStart(i + 1, width);
    std::fill(row0 + writtenBlockStart(i, width), row0 + end, one ? kWhite : std::uint16_t(0));
  }
  for (unsigned y = 1; y < rows; ++y) std::copy_n(row0, width, samples.data() + std::size_t(y) * width);
}

std::optional<std::uint32_t> readFrameStrip(std::span<const std::uint8_t> picture, unsigned width, unsigned height,
                                            unsigned pixelStride, std::size_t rowPitch) {
  if (width < kMinReadWidth || height < kMinReadHeight || pixelStride == 0) return std::nullopt;
  // Rows 1 .. (strip rows / 2) - 1 lie inside the strip both in the full frame
  // (after a demosaic that reads one and two rows further down) and in a
  // half-size summed picture of it.
  const unsigned firstRow = 1;
  const unsigned endRow = std::max(kMinStripRows, (height / 32) & ~1u) / 2;
  const unsigned channels = std::min(pixelStride, 3u);  // a fourth byte may be padding
  const std::size_t needed = std::size_t(endRow - 1) * rowPitch + std::size_t(width) * pixelStride;
  if (rowPitch < std::size_t(width) * pixelStride || picture.size() < needed) {
    throw std::invalid_argument("readFrameStrip: picture buffer smaller than its stated size");
  }

  std::uint32_t number = 0;
  for (unsigned i = 0; i < kStripBits; ++i) {
    // The centre half of the block, clear of a one-pixel demosaic shift.
    const unsigned begin = blockStart(i, width);
    const unsigned end = blockStart(i + 1, width);
    const unsigned margin = (end - begin) / 4;
    std::uint64_t sum = 0;
    std::uint64_t count = 0;
    for (unsigned y = firstRow; y < endRow; ++y) {
      const std::uint8_t* row = picture.data() + std::size_t(y) * rowPitch;
      for (unsigned x = begin + margin; x < end - margin; ++x) {
        for (unsigned c = 0; c < channels; ++c) sum += row[std::size_t(x) * pixelStride + c];
        count += channels;
      }
    }
    // Clear thirds: up to 1/3 is black, from 2/3 white, between is no strip.
    if (sum <= 85 * count) {
      number <<= 1;
    } else if (sum >= 170 * count) {
      number = (number << 1) | 1u;
    } else {
      return std::nullopt;
    }
  }
  return number;
}

}  // namespace kellib3
