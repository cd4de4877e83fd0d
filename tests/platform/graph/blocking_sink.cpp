#include "tests/platform/graph/blocking_sink.h"

#include <chrono>

#include "platform/dshow/errors.h"

namespace kel::test {

namespace {

constexpr CLSID kSinkClsid{0x3C0E5A21, 0x7D42, 0x4B19, {0x8E, 0x10, 0x5A, 0x61, 0x02, 0x33, 0x44, 0x02}};

class HoldingPin final : public CBaseInputPin {
 public:
  HoldingPin(BlockingSink* sink, CCritSec* lock, HRESULT* phr)
      : CBaseInputPin("HoldingPin", sink, lock, phr, u"In"), sink_(sink) {}

  HRESULT CheckMediaType(const CMediaType* pmt) override {
    return *pmt->Type() == MEDIATYPE_Video ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
  }

  HRESULT Receive(IMediaSample* sample) override {
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) return hr;
    sink_->holdUntilStopped();
    return VFW_E_WRONG_STATE;
  }

 private:
  BlockingSink* sink_;
};

}  // namespace

BlockingSink::BlockingSink() : CBaseFilter("BlockingSink", nullptr, &lock_, kSinkClsid) {}

ComPtr<IBaseFilter> BlockingSink::create(BlockingSink** sink) {
  auto* filter = new BlockingSink;
  ComPtr<IBaseFilter> result(static_cast<IBaseFilter*>(filter));
  HRESULT hr = S_OK;
  filter->pin_ = std::make_unique<HoldingPin>(filter, &filter->lock_, &hr);
  if (sink) *sink = filter;
  return result;
}

CBasePin* BlockingSink::GetPin(int n) { return n == 0 ? pin_.get() : nullptr; }

HRESULT BlockingSink::Stop() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  released_.notify_all();
  return CBaseFilter::Stop();
}

HRESULT BlockingSink::Pause() {
  {
    std::lock_guard lock(mutex_);
    stopped_ = false;
  }
  return CBaseFilter::Pause();
}

bool BlockingSink::holdUntilStopped() {
  std::unique_lock lock(mutex_);
  holding.set();
  // A bound far beyond any test, so that a wrong stop order fails the test
  // instead of hanging it.
  if (!released_.wait_for(lock, std::chrono::seconds(20), [this] { return stopped_; })) {
    gaveUp = true;
    return false;
  }
  return true;
}

}  // namespace kel::test
