#include "tests/platform/avi/holding_sink.h"

#include "platform/dshow/errors.h"
#include "platform/dshow/guids.h"

namespace kel::test {

namespace {

constexpr CLSID kHoldingSinkClsid{0x3C0E5A21, 0x7D42, 0x4B19, {0x8E, 0x10, 0x5A, 0x61, 0x02, 0x33, 0x44, 0x15}};

class HoldingPin final : public CBaseInputPin {
 public:
  HoldingPin(HoldingSink* sink, CCritSec* lock, HRESULT* phr)
      : CBaseInputPin("HoldingPin", sink, lock, phr, u"In"), sink_(sink) {}

  HRESULT CheckMediaType(const CMediaType* pmt) override {
    return pmt->majortype == MEDIATYPE_Video ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
  }
  HRESULT Receive(IMediaSample* sample) override {
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) return hr;
    sink_->hold(sample);
    return S_OK;
  }
  HRESULT EndOfStream() override { return sink_->NotifyEvent(EC_COMPLETE, S_OK, 0); }

 private:
  HoldingSink* const sink_;
};

}  // namespace

HoldingSink::HoldingSink() : CBaseFilter("HoldingSink", nullptr, &lock_, kHoldingSinkClsid) {}

ComPtr<IBaseFilter> HoldingSink::create(HoldingSink** sink) {
  HRESULT hr = S_OK;
  auto* filter = new HoldingSink();
  filter->pin_ = std::make_unique<HoldingPin>(filter, &filter->lock_, &hr);
  *sink = filter;
  return ComPtr<IBaseFilter>(static_cast<IBaseFilter*>(filter));
}

CBasePin* HoldingSink::GetPin(int n) { return n == 0 ? pin_.get() : nullptr; }

HRESULT HoldingSink::Stop() {
  {
    std::lock_guard lock(heldLock_);
    held_.clear();
  }
  return CBaseFilter::Stop();
}

void HoldingSink::hold(IMediaSample* sample) {
  REFERENCE_TIME start = 0, stop = 0;
  if (sample->GetTime(&start, &stop) != VFW_E_SAMPLE_TIME_NOT_SET) ++timed;
  ++received;
  std::lock_guard lock(heldLock_);
  held_.emplace_back(sample);
}

}  // namespace kel::test
