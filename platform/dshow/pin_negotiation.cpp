// How two pins agree on a media type and connect.
#include "platform/dshow/base_filter.h"
#include "platform/dshow/base_pin.h"
#include "platform/dshow/errors.h"

namespace {

// Failures that only say "not this type" do not hide a more telling one.
bool isPlainRefusal(HRESULT hr) {
  return hr == E_FAIL || hr == E_INVALIDARG || hr == VFW_E_TYPE_NOT_ACCEPTED;
}

}  // namespace

HRESULT CBasePin::Connect(IPin* pReceivePin, const AM_MEDIA_TYPE* pmt) {
  if (!pReceivePin) return E_POINTER;
  CAutoLock lock(m_pLock);
  if (m_Connected) return VFW_E_ALREADY_CONNECTED;
  if (!IsStopped() && !m_bCanReconnectWhenActive) return VFW_E_NOT_STOPPED;
  const CMediaType wanted = pmt ? CMediaType(*pmt) : CMediaType();
  const HRESULT hr = AgreeMediaType(pReceivePin, &wanted);
  if (FAILED(hr)) {
    m_Connected = nullptr;
    return hr;
  }
  return S_OK;
}

HRESULT CBasePin::ReceiveConnection(IPin* pConnector, const AM_MEDIA_TYPE* pmt) {
  if (!pConnector || !pmt) return E_POINTER;
  CAutoLock lock(m_pLock);
  if (m_Connected) return VFW_E_ALREADY_CONNECTED;
  if (!IsStopped() && !m_bCanReconnectWhenActive) return VFW_E_NOT_STOPPED;
  HRESULT hr = CheckConnect(pConnector);
  if (FAILED(hr)) {
    BreakConnect();
    return hr;
  }
  const CMediaType mt(*pmt);
  hr = CheckMediaType(&mt);
  if (hr != S_OK) {
    BreakConnect();
    if (SUCCEEDED(hr) || isPlainRefusal(hr)) hr = VFW_E_TYPE_NOT_ACCEPTED;
    return hr;
  }
  m_Connected = ComPtr<IPin>(pConnector);
  hr = SetMediaType(&mt);
  if (SUCCEEDED(hr)) hr = CompleteConnect(pConnector);
  if (FAILED(hr)) {
    m_Connected = nullptr;
    BreakConnect();
    return hr;
  }
  return S_OK;
}

HRESULT CBasePin::AgreeMediaType(IPin* pReceivePin, const CMediaType* pmt) {
  // A fully specified type is tried as it is.
  if (pmt && !pmt->IsPartiallySpecified()) return AttemptConnection(pReceivePin, pmt);

  HRESULT failure = VFW_E_NO_ACCEPTABLE_TYPES;
  for (int i = 0; i < 2; ++i) {
    ComPtr<IEnumMediaTypes> types;
    const bool peerTypes = (i == 0) != m_bTryMyTypesFirst;
    const HRESULT got = peerTypes ? pReceivePin->EnumMediaTypes(types.put()) : EnumMediaTypes(types.put());
    if (FAILED(got) || !types) continue;
    const HRESULT hr = TryMediaTypes(pReceivePin, pmt, types.get());
    if (SUCCEEDED(hr)) return S_OK;
    if (!isPlainRefusal(hr) && hr != VFW_E_NO_ACCEPTABLE_TYPES) failure = hr;
  }
  return failure;
}

HRESULT CBasePin::TryMediaTypes(IPin* pReceivePin, const CMediaType* pmt, IEnumMediaTypes* pEnum) {
  HRESULT hr = pEnum->Reset();
  if (FAILED(hr)) return hr;
  HRESULT failure = VFW_E_NO_ACCEPTABLE_TYPES;
  for (;;) {
    AM_MEDIA_TYPE* next = nullptr;
    ULONG fetched = 0;
    if (pEnum->Next(1, &next, &fetched) != S_OK || fetched != 1 || !next) {
      DeleteMediaType(next);
      return failure;
    }
    const CMediaType candidate(*next);
    DeleteMediaType(next);
    if (pmt && !candidate.MatchesPartial(pmt)) continue;
    hr = AttemptConnection(pReceivePin, &candidate);
    if (SUCCEEDED(hr)) return hr;
    if (!isPlainRefusal(hr)) failure = hr;
  }
}

HRESULT CBasePin::AttemptConnection(IPin* pReceivePin, const CMediaType* pmt) {
  HRESULT hr = CheckConnect(pReceivePin);
  if (FAILED(hr)) {
    BreakConnect();
    return hr;
  }
  hr = CheckMediaType(pmt);
  if (hr == S_OK) {
    m_Connected = ComPtr<IPin>(pReceivePin);
    hr = SetMediaType(pmt);
    if (SUCCEEDED(hr)) {
      hr = pReceivePin->ReceiveConnection(this, pmt);
      if (SUCCEEDED(hr)) {
        hr = CompleteConnect(pReceivePin);
        if (SUCCEEDED(hr)) return hr;
        pReceivePin->Disconnect();
      }
    }
  } else if (SUCCEEDED(hr) || isPlainRefusal(hr)) {
    hr = VFW_E_TYPE_NOT_ACCEPTED;
  }
  // Undo whatever was set up, including anything a peer's callback added.
  m_Connected = nullptr;
  BreakConnect();
  return hr;
}
