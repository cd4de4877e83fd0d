#include "platform/dshow/input_pin.h"

#include "platform/dshow/base_filter.h"
#include "platform/dshow/errors.h"
#include "platform/dshow/mem_allocator.h"

CBaseInputPin::CBaseInputPin(const char* objectName, CBaseFilter* filter, CCritSec* lock, HRESULT* phr,
                             LPCWSTR name)
    : CBasePin(objectName, filter, lock, phr, name, PINDIR_INPUT) {}

HRESULT CBaseInputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IMemInputPin) return GetInterface(static_cast<IMemInputPin*>(this), ppv);
  return CBasePin::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CBaseInputPin::GetAllocator(IMemAllocator** ppAllocator) {
  if (!ppAllocator) return E_POINTER;
  CAutoLock lock(m_pLock);
  if (!m_pAllocator) {
    const HRESULT hr = CMemAllocator::CreateInstance(m_pAllocator.put());
    if (FAILED(hr)) {
      *ppAllocator = nullptr;
      return hr;
    }
  }
  *ppAllocator = ComPtr<IMemAllocator>(m_pAllocator).detach();
  return S_OK;
}

HRESULT CBaseInputPin::NotifyAllocator(IMemAllocator* pAllocator, BOOL bReadOnly) {
  if (!pAllocator) return E_POINTER;
  CAutoLock lock(m_pLock);
  m_pAllocator = ComPtr<IMemAllocator>(pAllocator);
  m_bReadOnly = bReadOnly;
  return S_OK;
}

HRESULT CBaseInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*) { return E_NOTIMPL; }

HRESULT CBaseInputPin::CheckStreaming() {
  if (!IsConnected()) return VFW_E_NOT_CONNECTED;
  if (IsStopped()) return VFW_E_WRONG_STATE;
  if (m_bFlushing) return S_FALSE;
  if (m_bRunTimeError) return VFW_E_RUNTIME_ERROR;
  return S_OK;
}

HRESULT CBaseInputPin::Receive(IMediaSample* pSample) {
  if (!pSample) return E_POINTER;
  return CheckStreaming();
}

HRESULT CBaseInputPin::ReceiveMultiple(IMediaSample** pSamples, LONG nSamples, LONG* nSamplesProcessed) {
  if (!pSamples || !nSamplesProcessed) return E_POINTER;
  HRESULT hr = S_OK;
  *nSamplesProcessed = 0;
  while (nSamples-- > 0) {
    hr = Receive(pSamples[*nSamplesProcessed]);
    if (hr != S_OK) break;
    ++*nSamplesProcessed;
  }
  return hr;
}

HRESULT CBaseInputPin::ReceiveCanBlock() {
  int outputs = 0;
  for (int i = 0, n = m_pFilter->GetPinCount(); i < n; ++i) {
    CBasePin* pin = m_pFilter->GetPin(i);
    PIN_DIRECTION dir;
    if (!pin || FAILED(pin->QueryDirection(&dir)) || dir != PINDIR_OUTPUT) continue;
    ++outputs;
    IPin* peer = pin->GetConnected();
    if (!peer) continue;
    ComPtr<IMemInputPin> input;
    if (SUCCEEDED(peer->QueryInterface(IID_IMemInputPin, input.putVoid())) && input &&
        input->ReceiveCanBlock() != S_FALSE) {
      return S_OK;
    }
  }
  return outputs == 0 ? S_OK : S_FALSE;
}

HRESULT CBaseInputPin::BeginFlush() {
  m_bFlushing = true;
  return S_OK;
}

HRESULT CBaseInputPin::EndFlush() {
  m_bFlushing = false;
  m_bRunTimeError = false;
  return S_OK;
}

HRESULT CBaseInputPin::BreakConnect() {
  if (m_pAllocator) {
    m_pAllocator->Decommit();
    m_pAllocator = nullptr;
  }
  return S_OK;
}

HRESULT CBaseInputPin::Inactive() {
  m_bRunTimeError = false;
  if (!m_pAllocator) return VFW_E_NO_ALLOCATOR;
  m_bFlushing = false;
  return m_pAllocator->Decommit();
}
