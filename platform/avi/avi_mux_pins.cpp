#include "platform/avi/avi_mux_pins.h"

#include "platform/avi/avi_mux.h"
#include "platform/avi/avi_stream_format.h"
#include "platform/dshow/errors.h"
#include "platform/dshow/guids.h"

CAviMuxInputPin::CAviMuxInputPin(CAviMux* mux, CCritSec* lock, HRESULT* phr)
    : CBaseInputPin("CAviMuxInputPin", mux, lock, phr, u"Input 01"), mux_(mux) {}

HRESULT CAviMuxInputPin::CheckMediaType(const CMediaType* pmt) {
  if (!pmt) return E_POINTER;
  return plat::aviStreamSpecOf(*pmt) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CAviMuxInputPin::Receive(IMediaSample* pSample) {
  const HRESULT hr = CBaseInputPin::Receive(pSample);
  if (hr != S_OK) return hr;
  return mux_->receiveFrame(pSample);
}

HRESULT CAviMuxInputPin::EndOfStream() {
  const HRESULT hr = CheckStreaming();
  if (hr != S_OK) return hr == S_FALSE ? S_OK : hr;
  return mux_->endOfStream();
}

CAviMuxOutputPin::CAviMuxOutputPin(CAviMux* mux, CCritSec* lock, HRESULT* phr)
    : CBasePin("CAviMuxOutputPin", mux, lock, phr, u"AVI Out", PINDIR_OUTPUT) {}

HRESULT CAviMuxOutputPin::CheckConnect(IPin* pPin) {
  const HRESULT hr = CBasePin::CheckConnect(pPin);
  if (FAILED(hr)) return hr;
  if (FAILED(pPin->QueryInterface(IID_IKelFileStream, stream_.putVoid())) || !stream_) {
    stream_ = nullptr;
    return VFW_E_NO_TRANSPORT;
  }
  return S_OK;
}

HRESULT CAviMuxOutputPin::BreakConnect() {
  stream_ = nullptr;
  return CBasePin::BreakConnect();
}

HRESULT CAviMuxOutputPin::CheckMediaType(const CMediaType* pmt) {
  if (!pmt) return E_POINTER;
  return pmt->majortype == MEDIATYPE_Stream && pmt->subtype == MEDIASUBTYPE_Avi ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CAviMuxOutputPin::GetMediaType(int iPosition, CMediaType* pmt) {
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 0) return VFW_S_NO_MORE_ITEMS;
  pmt->InitMediaType();
  pmt->SetType(&MEDIATYPE_Stream);
  pmt->SetSubtype(&MEDIASUBTYPE_Avi);
  return S_OK;
}

HRESULT CAviMuxOutputPin::runFile(std::shared_ptr<plat::FileSink>* sink) {
  if (!stream_) return VFW_E_NOT_CONNECTED;
  return stream_->GetRunFile(sink);
}

HRESULT CAviMuxOutputPin::deliverEndOfStream() {
  IPin* peer = GetConnected();
  return peer ? peer->EndOfStream() : VFW_E_NOT_CONNECTED;
}
