#include "filter/acquisition/FrameConverter.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "filter/acquisition/converter_bayer.h"
#include "filter/acquisition/converter_grey.h"
#include "filter/acquisition/converter_repack.h"
#include "filter/acquisition/converter_tables.h"
#include "filter/acquisition/converter_unpack.h"
#include "filter/acquisition/settings_records.h"

namespace Orvo {
namespace {

std::string frameName(unsigned width, unsigned height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

conv::Table levelTable() {
  const ProcessSettings& s = Settings();
  return conv::LevelTable(s.levels.black.load(), s.levels.white.load(), s.whiteBalance.gamma.load() != 0);
}

}  // namespace

std::size_t FrameConverter::PartBytesFor(unsigned width, unsigned height) {
  return std::size_t(width) * height * 4 / 10 + 1024;
}

void FrameConverter::Grow(std::size_t partBytes, std::size_t pixels) {
  // All five buffers are replaced together, so they always fit one frame size.
  const std::size_t words = partBytes / sizeof(std::uint32_t);
  std::array<std::unique_ptr<std::uint32_t[]>, 4> parts;
  for (auto& p : parts) p = std::make_unique<std::uint32_t[]>(words);
  const std::size_t samples = conv::PartWords(pixels) * conv::kPixelsPerWord;
  auto unpacked = std::make_unique<std::uint8_t[]>(samples + conv::kMosaicSlack);
  parts_ = std::move(parts);
  samples_ = std::move(unpacked);
  partBytes_ = partBytes;
  sampleCapacity_ = samples;
}

void FrameConverter::TakePart(int part, unsigned width, unsigned height, std::span<const std::uint8_t> dma) {
  if (part < 1 || part > 4) {
    throw std::invalid_argument("FrameConverter: part " + std::to_string(part) + " does not exist (1 to 4)");
  }
  const std::size_t pixels = std::size_t(width) * height;
  if (pixels == 0) return;
  const std::size_t groups = conv::PartGroups(pixels);
  const std::size_t needed = conv::DmaBytesRead(groups);
  if (dma.data() == nullptr || dma.size() < needed) {
    throw std::invalid_argument("FrameConverter: DMA buffer of " + std::to_string(dma.size()) + " bytes for part " +
                                std::to_string(part) + " of a " + frameName(width, height) + " frame, which needs " +
                                std::to_string(needed));
  }
  const std::size_t partBytes = PartBytesFor(width, height);
  if (partBytes > partBytes_) Grow(partBytes, pixels);
  conv::ReadDmaGroups(dma.data(), groups, parts_[part - 1].get());
}

bool FrameConverter::Prepare(unsigned width, unsigned height, std::span<std::uint8_t> out, std::size_t outPixels,
                             int stride) {
  if (stride != 3 && stride != 4) {
    throw std::invalid_argument("FrameConverter: " + std::to_string(stride) +
                                " bytes per output pixel (3 or 4 expected)");
  }
  const std::size_t pixels = std::size_t(width) * height;
  if (pixels == 0) return false;
  if (out.size() < outPixels * stride) {
    throw std::invalid_argument("FrameConverter: output of " + std::to_string(out.size()) + " bytes for " +
                                std::to_string(outPixels) + " pixels of " + std::to_string(stride) + " bytes");
  }
  const std::size_t words = conv::PartWords(pixels);
  if (words * conv::kPixelsPerWord > sampleCapacity_) {
    throw std::logic_error("FrameConverter: no parts of a " + frameName(width, height) + " frame were taken");
  }
  return true;
}

void FrameConverter::Unpack(std::size_t firstWord, std::size_t words) {
  conv::UnpackWords(parts_[0].get() + firstWord, parts_[1].get() + firstWord, parts_[2].get() + firstWord,
                    parts_[3].get() + firstWord, words, samples_.get() + firstWord * conv::kPixelsPerWord);
}

void FrameConverter::UnpackAll(std::size_t pixels) { Unpack(0, conv::PartWords(pixels)); }

conv::ChannelSums FrameConverter::UnpackAndSum(std::size_t width, std::size_t height) {
  // A band of an even number of rows at a time (about 16 KiB), summed while
  // it is still in the first-level cache.
  const std::size_t band = std::max<std::size_t>(2, 16384 / width / 2 * 2);
  const std::size_t pixels = width * height;
  conv::ChannelSums sums;
  std::size_t unpacked = 0;  // words
  for (std::size_t row = 0; row < height; row += band) {
    const std::size_t rows = std::min(band, height - row);
    const std::size_t words = conv::PartWords(std::min(pixels, (row + rows) * width));
    Unpack(unpacked, words - unpacked);
    unpacked = words;
    const conv::ChannelSums s = conv::SumChannels(samples_.get() + row * width, width, rows);
    sums.red += s.red;
    sums.green += s.green;
    sums.blue += s.blue;
  }
  return sums;
}

void FrameConverter::WriteGreyPixels(std::size_t pixels, const conv::Table* table, std::uint8_t* out, int stride) {
  // Unpacked a slice at a time, so the samples are still in the first-level
  // cache when they are written out.
  constexpr std::size_t kSliceWords = 512;
  const std::size_t words = conv::PartWords(pixels);
  for (std::size_t k = 0; k < words; k += kSliceWords) {
    const std::size_t n = std::min(kSliceWords, words - k);
    Unpack(k, n);
    const std::size_t first = k * conv::kPixelsPerWord;
    const std::size_t count = std::min(pixels, (k + n) * conv::kPixelsPerWord) - first;
    const std::uint8_t* samples = samples_.get() + first;
    if (table) {
      conv::WriteGrey(samples, count, *table, out + first * stride, stride);
    } else {
      conv::CopyGrey(samples, count, out + first * stride, stride);
    }
  }
}

void FrameConverter::ConvertColour(unsigned width, unsigned height, std::span<std::uint8_t> out, int stride) {
  const std::size_t pixels = std::size_t(width) * height;
  if (!Prepare(width, height, out, pixels, stride)) return;
  ProcessSettings& s = Settings();
  if (s.monochrome.load() != 0) {
    WriteGreyPixels(pixels, nullptr, out.data(), stride);
    return;
  }
  const conv::ChannelSums sums = UnpackAndSum(width, height);
  // Tiny frames would give a zero divisor.
  const std::uint64_t quarter = std::max<std::uint64_t>(pixels / 4, 1);
  const std::uint64_t half = std::max<std::uint64_t>(pixels / 2, 1);
  const conv::ChannelValues averages{static_cast<long long>(sums.red / quarter),
                                     static_cast<long long>(sums.green / half),
                                     static_cast<long long>(sums.blue / quarter)};
  {
    std::lock_guard lock(AveragesLock());
    s.whiteBalance.averageRed = static_cast<int>(averages.red);
    s.whiteBalance.averageGreen = static_cast<int>(averages.green);
    s.whiteBalance.averageBlue = static_cast<int>(averages.blue);
  }
  const WhiteBalanceSettings& wb = s.whiteBalance;
  const conv::ChannelValues values = wb.automatic.load() != 0
                                         ? averages
                                         : conv::ChannelValues{wb.red.load(), wb.green.load(), wb.blue.load()};
  const conv::ChannelTables tables = conv::ColourTables(values, wb.enabled.load() != 0, levelTable());
  conv::Demosaic(samples_.get(), width, height, tables, out.data(), stride);
}

void FrameConverter::ConvertSummation(unsigned width, unsigned height, std::span<std::uint8_t> out, int stride) {
  const std::size_t outPixels = std::size_t(width / 2) * (height / 2);
  if (!Prepare(width, height, out, outPixels, stride)) return;
  UnpackAll(std::size_t(width) * height);
  conv::WriteSums(samples_.get(), width, height, levelTable(), out.data(), stride);
}

void FrameConverter::ConvertGrey(unsigned width, unsigned height, std::span<std::uint8_t> out, int stride) {
  const std::size_t pixels = std::size_t(width) * height;
  if (!Prepare(width, height, out, pixels, stride)) return;
  const conv::Table levels = levelTable();
  WriteGreyPixels(pixels, conv::IsIdentity(levels) ? nullptr : &levels, out.data(), stride);
  if (Settings().repack.load() != 0) conv::Repack(out.data(), pixels, stride, repackCopy_);
}

void FrameConverter::ConvertGrey24(unsigned width, unsigned height, std::span<std::uint8_t> out) {
  ConvertGrey(width, height, out, 3);
}

void FrameConverter::ConvertGrey32(unsigned width, unsigned height, std::span<std::uint8_t> out) {
  ConvertGrey(width, height, out, 4);
}

std::mutex& FrameConverter::AveragesLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace Orvo
