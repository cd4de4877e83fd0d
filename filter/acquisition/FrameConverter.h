// The frame converter of one camera system: assembles a frame from its four DMA
// parts as they arrive and writes it into an output buffer as 24-bit or
// 32-bit pixels (grey, 2x2 summed grey, or colour from a Bayer mosaic) with
// the levels, white balance and gamma of the process settings.
//
// Called from the streaming thread. The settings are read without a lock;
// only storing the measured white-balance averages takes the averages' lock.
// Output pixels get their colour in their first three bytes; the fourth byte
// of a 32-bit pixel gets 255, which players that read it as opacity need.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "filter/acquisition/converter_bayer.h"
#include "filter/acquisition/converter_tables.h"

namespace Orvo {

class FrameConverter {
 public:
  FrameConverter() = default;
  FrameConverter(const FrameConverter&) = delete;
  FrameConverter& operator=(const FrameConverter&) = delete;

  // Bytes of each part buffer for a W x H frame: W * H * 4 / 10 + 1024.
  static std::size_t PartBytesFor(unsigned width, unsigned height);

  // Takes part `part` (1 to 4) of a W x H frame from the DMA buffer: grows
  // all buffers first when the frame needs larger parts, then rebuilds the
  // part's words. Throws std::invalid_argument for a bad part number or a
  // DMA buffer too short for the frame. A zero-sized frame is a no-op.
  void TakePart(int part, unsigned width, unsigned height, std::span<const std::uint8_t> dma);

  // The conversions of the assembled W x H frame. Each throws
  // std::invalid_argument for a stride other than 3 or 4 or an output too
  // small for the picture, and std::logic_error when no parts of a frame
  // that size were taken. A zero-sized frame writes nothing.
  //
  // Colour from the Bayer mosaic, or the plain samples while the monochrome
  // flag is set.
  void ConvertColour(unsigned width, unsigned height, std::span<std::uint8_t> out, int stride);
  // The (W/2) x (H/2) picture of 2x2 sums.
  void ConvertSummation(unsigned width, unsigned height, std::span<std::uint8_t> out, int stride);
  // Grey, then the diagnostic repack when its flag is set.
  void ConvertGrey24(unsigned width, unsigned height, std::span<std::uint8_t> out);
  void ConvertGrey32(unsigned width, unsigned height, std::span<std::uint8_t> out);

  std::size_t PartBytes() const { return partBytes_; }

  // Held while the averages are stored; take it to read the three of them
  // as one set. One for the process, as the averages are.
  static std::mutex& AveragesLock();

 private:
  void Grow(std::size_t partBytes, std::size_t pixels);
  // Checks the frame and the output; false for a zero-sized frame.
  bool Prepare(unsigned width, unsigned height, std::span<std::uint8_t> out, std::size_t outPixels, int stride);
  // Unpacks `words` words of each part from word `firstWord` on into the samples.
  void Unpack(std::size_t firstWord, std::size_t words);
  void UnpackAll(std::size_t pixels);
  // Unpacks the frame and sums its mosaic channels.
  conv::ChannelSums UnpackAndSum(std::size_t width, std::size_t height);
  // Unpacks the frame and writes its grey pixels through `table` (none: the
  // plain samples).
  void WriteGreyPixels(std::size_t pixels, const conv::Table* table, std::uint8_t* out, int stride);
  void ConvertGrey(unsigned width, unsigned height, std::span<std::uint8_t> out, int stride);

  std::array<std::unique_ptr<std::uint32_t[]>, 4> parts_;
  std::unique_ptr<std::uint8_t[]> samples_;
  std::size_t partBytes_ = 0;
  std::size_t sampleCapacity_ = 0;
  std::vector<std::uint8_t> repackCopy_;
};

}  // namespace Orvo
