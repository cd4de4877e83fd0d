#include "filter/acquisition/StOrvoSource.h"

#include <mutex>
#include <span>
#include <stdexcept>

#include "filter/acquisition/FrameConverter.h"
#include "filter/acquisition/global_frame_lock.h"
#include "filter/acquisition/settings_records.h"
#include "filter/hardware/lib3_error.h"

namespace Orvo {
namespace {

constexpr const char* kUnit = "StOrvoSource";
constexpr std::uint32_t kFramesToRecord = 0x400007;
constexpr std::uint32_t kInputControl = 0xC0300002;
constexpr std::uint32_t kCycleControl = 0xC0300003;
constexpr std::uint32_t kFrameRange = 0x400020;
constexpr std::uint32_t kInputInterface = 0xC0000000;

System& openSystem(Kel::SystemHolder<System>& holder) {
  if (!holder.IsOpened() || holder.Get() == nullptr)
    throw std::invalid_argument("a stream source needs an open camera system");
  return *holder.Get();
}

bool isColourFormat(std::uint32_t format) {
  return format == KELLIB3_PIXEL_BAYER10 || format == KELLIB3_PIXEL_BAYER10_ALT;
}

}  // namespace

StOrvoSource::StOrvoSource(Holder& holder, HWND notifyWindow)
    : holder_(holder),
      system_(openSystem(holder).Handle()),
      converter_(holder.Get()->Converter()),
      notifyWindow_(notifyWindow) {
  // Members made so far (contexts, error data) undo themselves when a step throws.
  const KL3_HANDLE err = error_.get();
  header_.Create(err, kUnit);
  LIB3::Check(KelLib3SystemGetCInterface(system_, kFramesToRecord, 0, &framesToRecord_, err), err, kUnit, __LINE__);
  LIB3::Check(KelLib3SystemGetCInterface(system_, kInputControl, 0, &inputControlA_, err), err, kUnit, __LINE__);
  LIB3::Check(KelLib3SystemGetCInterface(system_, kCycleControl, 0, &inputControlB_, err), err, kUnit, __LINE__);
  LIB3::Check(KelLib3SystemGetCInterface(system_, kFrameRange, 0, &frameRange_, err), err, kUnit, __LINE__);
  LIB3::Check(KelLib3SystemGetInDInterface(system_, kInputInterface, 0, &input_, err), err, kUnit, __LINE__);
  LIB3::Check(KelLib3InDInterfaceGetType(input_, header_.Handle(), err), err, kUnit, __LINE__);
  RereadHeaderType(kUnit);
  for (auto& context : dma_) context.Create(dmaSize_);
}

StOrvoSource::~StOrvoSource() = default;

void StOrvoSource::SetRunning(bool running) {
  std::lock_guard lock(GlobalFrameLock());
  running_ = running ? 1 : 0;
}

void StOrvoSource::RereadHeaderType(std::string_view unit) {
  std::uint32_t major = 0, minor = 0, low = 0, high = 0;
  const KL3_HANDLE err = error_.get();
  LIB3::Check(KelLib3DataheaderGetType(header_.Handle(), &major, &minor, &low, &high, err), err, unit, __LINE__);
  dmaSize_ = (static_cast<std::uint64_t>(high) << 32) | low;
}

std::uint32_t StOrvoSource::ReadState(KL3_HANDLE control, std::string_view unit) {
  return ReadStatusState(control, error_.get(), unit);
}

PartTransfer StOrvoSource::Parts(std::string_view unit) {
  PartTransfer t;
  t.input = input_;
  t.control = inputControlB_;
  t.error = error_.get();
  t.converter = &converter_;
  for (std::size_t i = 0; i < dma_.size(); ++i) t.contexts[i] = &dma_[i];
  t.dmaSize = dmaSize_;
  t.orientation = &orientation_;
  t.notifyWindow = notifyWindow_;
  t.unit = unit;
  return t;
}

void StOrvoSource::ConvertToOutput(unsigned width, unsigned height, FrameBuffer& raw) {
  const int bytes = bytesPerPixel_.load();
  const std::size_t size = static_cast<std::size_t>(width) * height * static_cast<std::size_t>(bytes > 0 ? bytes : 0);
  if (raw.size() != size) raw.resize(size);
  const std::uint32_t format = header_.Get(KELLIB3_KEY_PIXEL_FORMAT, kUnit);
  // The converter knows 24-bit and 32-bit pixels only; other sizes get nothing.
  if (bytes != 3 && bytes != 4) return;
  FrameConverter& converter = converter_;
  const std::span<std::uint8_t> out(raw);
  if (isColourFormat(format)) converter.ConvertColour(width, height, out, bytes);
  else if (Settings().levels.summation.load() != 0) converter.ConvertSummation(width, height, out, bytes);
  else if (bytes == 3) converter.ConvertGrey24(width, height, out);
  else converter.ConvertGrey32(width, height, out);
}

}  // namespace Orvo
