// A sink filter for the tests: one input pin that accepts the types a
// predicate allows and records every sample and end of stream it receives.
// Waits are on a condition variable, with a generous limit so a fault shows
// as a failed check rather than a hung test.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "platform/dshow/base_filter.h"
#include "platform/dshow/input_pin.h"

namespace kel::test {

struct ReceivedSample {
  std::uint32_t frame;
  HRESULT timeResult;
  REFERENCE_TIME start;
  REFERENCE_TIME stop;
  bool syncPoint;
  LONG length;
  LONG size;
  std::uintptr_t address;
};

struct SinkConfig {
  std::function<bool(const CMediaType&)> accept = [](const CMediaType&) { return true; };
  std::optional<ALLOCATOR_PROPERTIES> requirements;
  bool offerAllocator = true;  // false: GetAllocator fails
  bool holdSamples = false;    // keep every received sample referenced
};

class RecordingPin : public CBaseInputPin {
 public:
  RecordingPin(CBaseFilter* filter, CCritSec* lock, HRESULT* phr, SinkConfig config);

  HRESULT CheckMediaType(const CMediaType* pmt) override;
  HRESULT GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;
  HRESULT GetAllocator(IMemAllocator** ppAllocator) override;
  HRESULT NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) override;
  HRESULT Receive(IMediaSample* sample) override;
  HRESULT EndOfStream() override;

  std::vector<ReceivedSample> samples() const;
  int endOfStreams() const;
  // The allocator the output pin chose, or null.
  IMemAllocator* notifiedAllocator() const;
  // True when `count` samples (or one end of stream) arrived in time.
  bool waitForSamples(std::size_t count) const;
  bool waitForEndOfStream() const;
  void releaseHeld();
  void clear();

 private:
  const SinkConfig config_;
  mutable std::mutex mutex_;
  mutable std::condition_variable changed_;
  std::vector<ReceivedSample> samples_;
  std::vector<ComPtr<IMediaSample>> held_;
  int endOfStreams_ = 0;
  ComPtr<IMemAllocator> notified_;
};

class RecordingSink : public CBaseFilter {
 public:
  static ComPtr<IBaseFilter> create(SinkConfig config, plat::ModuleRefCount* module, RecordingPin** pin);

  int GetPinCount() override { return 1; }
  CBasePin* GetPin(int n) override { return n == 0 ? pin_.get() : nullptr; }

 private:
  explicit RecordingSink(plat::ModuleRefCount* module);
  CCritSec lock_;
  std::unique_ptr<RecordingPin> pin_;
};

}  // namespace kel::test
