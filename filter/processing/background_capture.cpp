#include "filter/processing/background_capture.h"

#include <span>
#include <thread>

#include "filter/acquisition/FrameConverter.h"
#include "filter/acquisition/settings_records.h"
#include "filter/hardware/lib3_error.h"
#include "platform/kernel/tick_count.h"

namespace Orvo {
namespace {

constexpr const char* kUnit = "StClearImageTransform";
constexpr std::uint32_t kFramesToRecord = 0x400007;
constexpr std::uint32_t kInputControlA = 0xC0300002;
constexpr std::uint32_t kInputControlB = 0xC0300003;
constexpr std::uint32_t kFrameRange = 0x400020;
constexpr std::uint32_t kWaitMs = 2000;

// Where each step reports a refusal.
enum Line : int {
  kLineFramesToRecord = 86,
  kLineControlA = 89,
  kLineControlB = 92,
  kLineFrameRange = 95,
  kLineInputType = 100,
  kLineHeaderType = 102,
  kLineWidth = 109,
  kLineHeight = 111,
  kLineSelectFrame = 117,
  kLineOpenCycle = 119,
  kLineNextPart = 132,
  kLineReady = 141,
  kLineWait = 143,
  kLineReadyAgain = 144,
  kLineBeginBlock = 150,
  kLineStartDma = 152,
  kLineDmaEnd = 169,
  kLineEndBlock = 174,
  kLineStatus = 182,
  kLinePixelFormat = 196,
};

bool isColourFormat(std::uint32_t format) {
  return format == KELLIB3_PIXEL_BAYER10 || format == KELLIB3_PIXEL_BAYER10_ALT;
}

}  // namespace

BackgroundCapture::BackgroundCapture(KL3_HANDLE system, FrameConverter& converter, KL3_HANDLE input,
                                     const DataHeader& header, KL3_HANDLE error)
    : system_(system), converter_(converter), input_(input), header_(header), error_(error) {
  // Without these the grabber cannot have recorded the background film.
  Lookup(kFramesToRecord, kLineFramesToRecord);
  Lookup(kInputControlA, kLineControlA);
  controlB_ = Lookup(kInputControlB, kLineControlB);
  frameRange_ = Lookup(kFrameRange, kLineFrameRange);
  Check(KelLib3InDInterfaceGetType(input_, header_.Handle(), error_), kLineInputType);
  std::uint32_t major = 0, minor = 0, low = 0, high = 0;
  Check(KelLib3DataheaderGetType(header_.Handle(), &major, &minor, &low, &high, error_), kLineHeaderType);
  dmaSize_ = (static_cast<std::uint64_t>(high) << 32) | low;
  for (auto& context : dma_) context.Create(dmaSize_);
  width_ = HeaderValue(KELLIB3_KEY_WIDTH, kLineWidth);
  height_ = HeaderValue(KELLIB3_KEY_HEIGHT, kLineHeight);
}

void BackgroundCapture::Take(std::int32_t frame, int bytesPerPixel, std::vector<std::uint8_t>& out) {
  Check(KelLib3OptionSetScalar(frameRange_, frame, 0, error_), kLineSelectFrame);
  Check(KelLib3CallCInterface_0(controlB_, KELLIB3_CMD_OPEN_CYCLE, error_), kLineOpenCycle);
  TransferParts();
  FrameConverter& converter = converter_;
  converter.TakePart(4, width_, height_,
                     std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(dma_[3].Buffer()),
                                                   static_cast<std::uint32_t>(dmaSize_)));
  const std::size_t bytes = static_cast<std::size_t>(width_) * height_ * static_cast<std::size_t>(bytesPerPixel);
  out.assign(bytes, 0);
  const std::uint32_t format = HeaderValue(KELLIB3_KEY_PIXEL_FORMAT, kLinePixelFormat);
  // The same choice as for a delivered frame, so the background matches it
  // byte for byte.
  if (bytesPerPixel != 3 && bytesPerPixel != 4) return;
  const std::span<std::uint8_t> target(out);
  if (isColourFormat(format)) converter.ConvertColour(width_, height_, target, bytesPerPixel);
  else if (Settings().levels.summation.load() != 0) converter.ConvertSummation(width_, height_, target, bytesPerPixel);
  else if (bytesPerPixel == 3) converter.ConvertGrey24(width_, height_, target);
  else converter.ConvertGrey32(width_, height_, target);
}

KL3_HANDLE BackgroundCapture::Lookup(std::uint32_t id, int line) const {
  KL3_HANDLE handle = 0;
  Check(KelLib3SystemGetCInterface(system_, id, 0, &handle, error_), line);
  return handle;
}

std::uint32_t BackgroundCapture::HeaderValue(std::uint32_t key, int line) const {
  std::uint32_t value = 0;
  Check(KelLib3DataheaderGetU32(header_.Handle(), key, &value, error_), line);
  return value;
}

void BackgroundCapture::TransferParts() {
  // 64 bits: a part index of all ones must still end the loop.
  std::int64_t p = 0;
  while (p < 5) {
    if (p >= 0 && p <= 3) {
      KelLib3PartBlock block{};
      Check(KelLib3CallCInterface_1(controlB_, KELLIB3_CMD_NEXT_PART, sizeof block, &block, error_), kLineNextPart);
      p = block.nextPart;
    }
    if (p >= 1 && p <= 4) TransferPart(static_cast<int>(p));
    WaitForIdle();
    p = p + 1;
  }
}

void BackgroundCapture::TransferPart(int part) {
  std::uint32_t bytes = 0, frames = 0;
  Check(KelLib3InDInterfaceQueryReady(input_, &bytes, &frames, error_), kLineReady);
  if (bytes == 0 && frames == 0) {
    Check(KelLib3InDInterfaceWait(input_, kWaitMs, error_), kLineWait);
    // Not ready even now: the block calls below say what went wrong.
    Check(KelLib3InDInterfaceQueryReady(input_, &bytes, &frames, error_), kLineReadyAgain);
  }
  Check(KelLib3InDInterfaceBeginBlock(input_, error_), kLineBeginBlock);
  Check(KelLib3InDInterfaceStartDma(input_, dma_[part - 1].Handle(), error_), kLineStartDma);
  // The previous part is converted while this one moves.
  if (part >= 2) {
    converter_.TakePart(part - 1, width_, height_,
                         std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(dma_[part - 2].Buffer()),
                                                       static_cast<std::uint32_t>(dmaSize_)));
  }
  const std::uint32_t start = plat::tickCount();
  for (;;) {
    std::uint32_t done = 0;
    Check(KelLib3InDInterfaceQueryDmaEnd(input_, &done, error_), kLineDmaEnd);
    // A slow transfer is not an error: the cycle goes on with what came.
    if (done != 0 || plat::ticksSince(start) >= kWaitMs) break;
    std::this_thread::yield();
  }
  Check(KelLib3InDInterfaceEndBlock(input_, error_), kLineEndBlock);
}

void BackgroundCapture::WaitForIdle() {
  const std::uint32_t start = plat::tickCount();
  for (;;) {
    KelLib3StatusBlock status{};
    Check(KelLib3CallCInterface_1(controlB_, KELLIB3_CMD_READ_STATUS, sizeof status, &status, error_), kLineStatus);
    if (status.state == KELLIB3_STATE_IDLE || plat::ticksSince(start) >= kWaitMs) return;
  }
}

void BackgroundCapture::Check(KL3_RESULT result, int line) const { LIB3::Check(result, error_, kUnit, line); }

}  // namespace Orvo
