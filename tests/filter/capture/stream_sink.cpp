#include "tests/filter/capture/stream_sink.h"

#include "platform/dshow/errors.h"
#include "platform/dshow/guids.h"

namespace kel::test {
namespace {

constexpr CLSID kSinkClsid{0x5E1C2A90, 0x3B7D, 0x4C21, {0x9A, 0x0E, 0x6B, 0x13, 0x27, 0x48, 0x51, 0x0C}};

class StreamPin final : public CBaseInputPin {
 public:
  StreamPin(StreamSink* sink, CCritSec* lock, HRESULT* phr)
      : CBaseInputPin("StreamPin", sink, lock, phr, u"In"), sink_(sink) {}

  HRESULT CheckMediaType(const CMediaType* pmt) override {
    return *pmt->Type() == MEDIATYPE_Stream ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
  }

  HRESULT Receive(IMediaSample* sample) override {
    const HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK) return hr;
    sink_->received(sample->GetActualDataLength());
    return S_OK;
  }

 private:
  StreamSink* sink_;
};

}  // namespace

StreamSink::StreamSink() : CBaseFilter("StreamSink", nullptr, &lock_, kSinkClsid) {}

ComPtr<IBaseFilter> StreamSink::create(StreamSink** sink) {
  auto* filter = new StreamSink;
  ComPtr<IBaseFilter> result(static_cast<IBaseFilter*>(filter));
  HRESULT hr = S_OK;
  filter->pin_ = std::make_unique<StreamPin>(filter, &filter->lock_, &hr);
  *sink = filter;
  return result;
}

CBasePin* StreamSink::GetPin(int n) { return n == 0 ? pin_.get() : nullptr; }

IPin* StreamSink::input() const { return pin_.get(); }

void StreamSink::received(LONG size) {
  {
    std::lock_guard lock(mutex_);
    sizes_.push_back(size);
  }
  first.set();
}

std::vector<LONG> StreamSink::sizes() const {
  std::lock_guard lock(mutex_);
  return sizes_;
}

}  // namespace kel::test
