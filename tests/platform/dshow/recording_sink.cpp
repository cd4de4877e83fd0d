#include "tests/platform/dshow/recording_sink.h"

#include <chrono>
#include <cstring>

#include "platform/dshow/errors.h"

namespace kel::test {

namespace {

constexpr CLSID kSinkClsid{0x1D2A0C12, 0x5B3E, 0x4F70, {0x9A, 0x01, 0x22, 0x33, 0x44, 0x55, 0x66, 0x78}};
constexpr auto kPatience = std::chrono::seconds(20);

}  // namespace

RecordingPin::RecordingPin(CBaseFilter* filter, CCritSec* lock, HRESULT* phr, SinkConfig config)
    : CBaseInputPin("RecordingPin", filter, lock, phr, u"In"), config_(std::move(config)) {}

HRESULT RecordingPin::CheckMediaType(const CMediaType* pmt) {
  return config_.accept(*pmt) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT RecordingPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) {
  if (!config_.requirements) return CBaseInputPin::GetAllocatorRequirements(props);
  *props = *config_.requirements;
  return S_OK;
}

HRESULT RecordingPin::GetAllocator(IMemAllocator** ppAllocator) {
  if (!config_.offerAllocator) {
    *ppAllocator = nullptr;
    return VFW_E_NO_ALLOCATOR;
  }
  return CBaseInputPin::GetAllocator(ppAllocator);
}

HRESULT RecordingPin::NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) {
  const HRESULT hr = CBaseInputPin::NotifyAllocator(pAllocator, bReadOnly);
  std::lock_guard lock(mutex_);
  notified_ = ComPtr<IMemAllocator>(pAllocator);
  return hr;
}

HRESULT RecordingPin::Receive(IMediaSample* sample) {
  const HRESULT hr = CBaseInputPin::Receive(sample);
  if (hr != S_OK) return hr;
  ReceivedSample r{};
  BYTE* data = nullptr;
  sample->GetPointer(&data);
  std::memcpy(&r.frame, data, sizeof r.frame);
  r.timeResult = sample->GetTime(&r.start, &r.stop);
  r.syncPoint = sample->IsSyncPoint() == S_OK;
  r.length = sample->GetActualDataLength();
  r.size = sample->GetSize();
  r.address = reinterpret_cast<std::uintptr_t>(data);
  {
    std::lock_guard lock(mutex_);
    samples_.push_back(r);
    if (config_.holdSamples) held_.emplace_back(sample);
  }
  changed_.notify_all();
  return S_OK;
}

HRESULT RecordingPin::EndOfStream() {
  {
    std::lock_guard lock(mutex_);
    ++endOfStreams_;
  }
  changed_.notify_all();
  return S_OK;
}

std::vector<ReceivedSample> RecordingPin::samples() const {
  std::lock_guard lock(mutex_);
  return samples_;
}

int RecordingPin::endOfStreams() const {
  std::lock_guard lock(mutex_);
  return endOfStreams_;
}

IMemAllocator* RecordingPin::notifiedAllocator() const {
  std::lock_guard lock(mutex_);
  return notified_.get();
}

bool RecordingPin::waitForSamples(std::size_t count) const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, kPatience, [&] { return samples_.size() >= count; });
}

bool RecordingPin::waitForEndOfStream() const {
  std::unique_lock lock(mutex_);
  return changed_.wait_for(lock, kPatience, [&] { return endOfStreams_ > 0; });
}

void RecordingPin::releaseHeld() {
  std::vector<ComPtr<IMediaSample>> held;
  {
    std::lock_guard lock(mutex_);
    held.swap(held_);
  }
}

void RecordingPin::clear() {
  std::lock_guard lock(mutex_);
  samples_.clear();
  endOfStreams_ = 0;
}

RecordingSink::RecordingSink(plat::ModuleRefCount* module)
    : CBaseFilter("RecordingSink", nullptr, &lock_, kSinkClsid, module) {}

ComPtr<IBaseFilter> RecordingSink::create(SinkConfig config, plat::ModuleRefCount* module, RecordingPin** pin) {
  auto* filter = new RecordingSink(module);
  ComPtr<IBaseFilter> result(filter);
  HRESULT hr = S_OK;
  filter->pin_ = std::make_unique<RecordingPin>(filter, &filter->lock_, &hr, std::move(config));
  if (pin) *pin = filter->pin_.get();
  return result;
}

}  // namespace kel::test
