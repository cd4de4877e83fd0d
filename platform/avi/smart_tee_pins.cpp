#include "platform/avi/smart_tee_pins.h"

#include <algorithm>
#include <cstring>

#include "platform/avi/smart_tee.h"
#include "platform/dshow/errors.h"
#include "platform/dshow/guids.h"
#include "platform/graph/video_format.h"

CTeeInputPin::CTeeInputPin(CSmartTee* tee, CCritSec* lock, HRESULT* phr)
    : CBaseInputPin("CTeeInputPin", tee, lock, phr, u"Input"), tee_(tee) {}

HRESULT CTeeInputPin::CheckMediaType(const CMediaType* pmt) {
  if (!pmt) return E_POINTER;
  return pmt->majortype == MEDIATYPE_Video ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CTeeInputPin::Receive(IMediaSample* pSample) {
  const HRESULT hr = CBaseInputPin::Receive(pSample);
  if (hr != S_OK) return hr;
  tee_->preview()->send(pSample);
  return tee_->capture()->send(pSample);
}

HRESULT CTeeInputPin::EndOfStream() {
  const HRESULT hr = CheckStreaming();
  if (hr != S_OK) return hr == S_FALSE ? S_OK : hr;
  for (CTeeOutputPin* out : {tee_->capture(), tee_->preview()}) {
    if (out->IsConnected()) out->DeliverEndOfStream();
  }
  return S_OK;
}

HRESULT CTeeInputPin::BeginFlush() {
  CBaseInputPin::BeginFlush();
  for (CTeeOutputPin* out : {tee_->capture(), tee_->preview()}) {
    if (out->IsConnected()) out->DeliverBeginFlush();
  }
  return S_OK;
}

HRESULT CTeeInputPin::EndFlush() {
  for (CTeeOutputPin* out : {tee_->capture(), tee_->preview()}) {
    if (out->IsConnected()) out->DeliverEndFlush();
  }
  return CBaseInputPin::EndFlush();
}

CTeeOutputPin::CTeeOutputPin(CSmartTee* tee, CCritSec* lock, HRESULT* phr, Role role)
    : CBaseOutputPin(role == Role::Capture ? "CTeeCapturePin" : "CTeePreviewPin", tee, lock, phr,
                     role == Role::Capture ? u"Capture" : u"Preview"),
      tee_(tee),
      role_(role) {}

HRESULT CTeeOutputPin::CheckMediaType(const CMediaType* pmt) {
  if (!pmt) return E_POINTER;
  const CTeeInputPin* input = tee_->input();
  if (!input->IsConnected()) return VFW_E_NOT_CONNECTED;
  return *pmt == input->CurrentMediaType() ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CTeeOutputPin::GetMediaType(int iPosition, CMediaType* pmt) {
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 0 || !tee_->input()->IsConnected()) return VFW_S_NO_MORE_ITEMS;
  *pmt = tee_->input()->CurrentMediaType();
  return S_OK;
}

HRESULT CTeeOutputPin::DecideBufferSize(IMemAllocator* alloc, ALLOCATOR_PROPERTIES* request) {
  const CMediaType& mt = tee_->input()->CurrentMediaType();
  LONG size = static_cast<LONG>(mt.GetSampleSize());
  if (const auto format = plat::videoFormatOf(mt)) size = std::max(size, static_cast<LONG>(format->imageSize));
  if (size <= 0) return VFW_E_SIZENOTSET;
  // Preview: two buffers, so the renderer may still hold one while the
  // next copy is made.
  request->cBuffers = std::max<LONG>(request->cBuffers, role_ == Role::Preview ? 2 : 1);
  request->cbBuffer = std::max(request->cbBuffer, size);
  ALLOCATOR_PROPERTIES actual{};
  const HRESULT hr = alloc->SetProperties(request, &actual);
  if (FAILED(hr)) return hr;
  return actual.cbBuffer >= size ? S_OK : E_FAIL;
}

HRESULT CTeeOutputPin::Active() { return role_ == Role::Capture ? S_OK : CBaseOutputPin::Active(); }

HRESULT CTeeOutputPin::Inactive() { return role_ == Role::Capture ? S_OK : CBaseOutputPin::Inactive(); }

HRESULT CTeeOutputPin::send(IMediaSample* sample) {
  if (!IsConnected()) return S_OK;
  if (role_ == Role::Capture) return Deliver(sample);
  sendCopy(sample);
  return S_OK;
}

HRESULT CTeeOutputPin::sendCopy(IMediaSample* sample) {
  IMediaSample* copy = nullptr;
  HRESULT hr = GetDeliveryBuffer(&copy, nullptr, nullptr, AM_GBF_NOWAIT);
  if (FAILED(hr) || !copy) {
    ++dropped_;
    return hr;
  }
  BYTE* from = nullptr;
  BYTE* to = nullptr;
  const LONG length = sample->GetActualDataLength();
  hr = sample->GetPointer(&from);
  if (SUCCEEDED(hr)) hr = copy->GetPointer(&to);
  if (SUCCEEDED(hr) && (length < 0 || length > copy->GetSize())) hr = VFW_E_BUFFER_OVERFLOW;
  if (SUCCEEDED(hr)) {
    std::memcpy(to, from, static_cast<std::size_t>(length));
    copy->SetActualDataLength(length);
    copy->SetTime(nullptr, nullptr);
    copy->SetSyncPoint(sample->IsSyncPoint() == S_OK);
    hr = Deliver(copy);
  }
  copy->Release();
  return hr;
}
