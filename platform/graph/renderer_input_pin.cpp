#include "platform/graph/renderer_input_pin.h"

#include "platform/dshow/errors.h"
#include "platform/graph/video_format.h"
#include "platform/graph/video_renderer.h"

CRendererInputPin::CRendererInputPin(CVideoRenderer* renderer, CCritSec* lock, HRESULT* phr)
    : CBaseInputPin("CRendererInputPin", renderer, lock, phr, u"Input0"), renderer_(renderer) {}

HRESULT CRendererInputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IVideoRowOrder) return GetInterface(static_cast<IVideoRowOrder*>(this), ppv);
  return CBaseInputPin::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CRendererInputPin::SetTopDownRows(BOOL topDown) {
  renderer_->frames().setRowsTopDown(topDown != FALSE);
  return S_OK;
}

HRESULT CRendererInputPin::CheckMediaType(const CMediaType* pmt) {
  if (!pmt) return E_POINTER;
  return plat::videoFormatOf(*pmt) ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CRendererInputPin::GetMediaType(int iPosition, CMediaType*) {
  return iPosition < 0 ? E_INVALIDARG : VFW_S_NO_MORE_ITEMS;
}

HRESULT CRendererInputPin::SetMediaType(const CMediaType* pmt) {
  if (!pmt) return E_POINTER;
  const auto format = plat::videoFormatOf(*pmt);
  if (!format) return VFW_E_TYPE_NOT_ACCEPTED;
  const HRESULT hr = CBaseInputPin::SetMediaType(pmt);
  if (SUCCEEDED(hr)) renderer_->frames().setFormat(*format);
  return hr;
}

HRESULT CRendererInputPin::BreakConnect() {
  renderer_->frames().clear();
  return CBaseInputPin::BreakConnect();
}

HRESULT CRendererInputPin::Active() {
  ended_ = false;
  return CBaseInputPin::Active();
}

HRESULT CRendererInputPin::takeTypeChange(IMediaSample* sample) {
  AM_MEDIA_TYPE* changed = nullptr;
  if (sample->GetMediaType(&changed) != S_OK || !changed) return S_OK;
  const CMediaType mt(*changed);
  DeleteMediaType(changed);
  if (!plat::videoFormatOf(mt)) return VFW_E_TYPE_NOT_ACCEPTED;
  return SetMediaType(&mt);
}

HRESULT CRendererInputPin::Receive(IMediaSample* pSample) {
  HRESULT hr = CBaseInputPin::Receive(pSample);
  if (hr != S_OK) return hr;
  hr = takeTypeChange(pSample);
  if (FAILED(hr)) return hr;
  BYTE* data = nullptr;
  hr = pSample->GetPointer(&data);
  if (FAILED(hr)) return hr;
  const LONG length = pSample->GetActualDataLength();
  if (length < 0 || !renderer_->frames().store(data, static_cast<std::size_t>(length))) {
    // A short picture is a fault upstream; say so once and take no more.
    m_bRunTimeError = true;
    renderer_->NotifyEvent(EC_ERRORABORT, E_INVALIDARG, 0);
    return E_INVALIDARG;
  }
  renderer_->frameArrived();
  return S_OK;
}

HRESULT CRendererInputPin::EndOfStream() {
  const HRESULT hr = CheckStreaming();
  if (hr != S_OK) return hr == S_FALSE ? S_OK : hr;
  if (!ended_.exchange(true)) renderer_->NotifyEvent(EC_COMPLETE, S_OK, 0);
  return S_OK;
}
