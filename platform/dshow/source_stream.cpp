#include "platform/dshow/source_stream.h"

#include <cstring>
#include <string>

#include "platform/com/co_create.h"
#include "platform/dshow/errors.h"

CSourceStream::CSourceStream(const char* objectName, HRESULT* phr, CSource* ps, LPCWSTR pPinName)
    : CBaseOutputPin(objectName, ps, ps ? ps->pStateLock() : nullptr, phr, pPinName), m_pFilter(ps) {
  const HRESULT hr = ps ? ps->AddPin(this) : E_POINTER;
  if (phr && FAILED(hr)) *phr = hr;
}

CSourceStream::~CSourceStream() {
  // Normally already stopped by the filter; never leave a thread behind.
  if (ThreadExists()) {
    Stop();
    Exit();
    Close();
  }
  m_pFilter->RemovePin(this);
}

HRESULT CSourceStream::QueryId(LPWSTR* Id) {
  if (!Id) return E_POINTER;
  const int number = m_pFilter->FindPinNumber(this);
  if (number < 0) return VFW_E_NOT_FOUND;
  const std::string text = std::to_string(number + 1);
  *Id = static_cast<LPWSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(WCHAR)));
  if (!*Id) return E_OUTOFMEMORY;
  for (std::size_t i = 0; i < text.size(); ++i) (*Id)[i] = static_cast<WCHAR>(text[i]);
  (*Id)[text.size()] = 0;
  return S_OK;
}

HRESULT CSourceStream::Active() {
  CAutoLock lock(m_pFilter->pStateLock());
  if (m_pFilter->IsActive()) return S_FALSE;
  if (!IsConnected()) return S_OK;
  HRESULT hr = CBaseOutputPin::Active();
  if (FAILED(hr)) return hr;
  if (!Create()) return E_FAIL;
  hr = Init();
  if (FAILED(hr)) {
    // The thread has already ended after OnThreadCreate failed.
    Close();
    CBaseOutputPin::Inactive();
    return hr;
  }
  return Pause();
}

HRESULT CSourceStream::Inactive() {
  CAutoLock lock(m_pFilter->pStateLock());
  if (!IsConnected()) return S_OK;
  // Decommit first: a thread waiting for a buffer gives up and sees Stop.
  HRESULT hr = CBaseOutputPin::Inactive();
  if (FAILED(hr)) return hr;
  if (ThreadExists()) {
    hr = Stop();
    if (FAILED(hr)) return hr;
    hr = Exit();
    if (FAILED(hr)) return hr;
    Close();
  }
  return S_OK;
}

BOOL CSourceStream::CheckRequest(Command* pCom) {
  DWORD param = 0;
  const BOOL pending = CAMThread::CheckRequest(&param);
  if (pending && pCom) *pCom = static_cast<Command>(param);
  return pending;
}

DWORD CSourceStream::ThreadProc() {
  Command com;
  do {
    com = GetRequest();
    if (com != CMD_INIT) Reply(static_cast<DWORD>(E_UNEXPECTED));
  } while (com != CMD_INIT);

  HRESULT hr = OnThreadCreate();
  if (FAILED(hr)) {
    OnThreadDestroy();
    Reply(static_cast<DWORD>(hr));
    return 1;
  }
  Reply(static_cast<DWORD>(S_OK));

  do {
    com = GetRequest();
    switch (com) {
      case CMD_EXIT:
      case CMD_STOP:
        Reply(static_cast<DWORD>(S_OK));
        break;
      case CMD_RUN:
      case CMD_PAUSE:
        Reply(static_cast<DWORD>(S_OK));
        DoBufferProcessingLoop();
        break;
      default:
        Reply(static_cast<DWORD>(E_NOTIMPL));
        break;
    }
  } while (com != CMD_EXIT);

  OnThreadDestroy();
  return 0;
}

HRESULT CSourceStream::fillBufferGuarded(IMediaSample* sample) {
  try {
    return FillBuffer(sample);
  } catch (...) {
    // An exception must not leave the streaming thread; it ends the
    // stream and is reported to the graph like any other failure.
    return E_UNEXPECTED;
  }
}

HRESULT CSourceStream::DoBufferProcessingLoop() {
  OnThreadStartPlay();
  Command com = CMD_STOP;
  do {
    while (!CheckRequest(&com)) {
      IMediaSample* sample = nullptr;
      HRESULT hr = GetDeliveryBuffer(&sample, nullptr, nullptr, 0);
      if (hr == VFW_E_NOT_COMMITTED) {
        // Stopping: the allocator was decommitted and a command follows.
        GetRequest();
        continue;
      }
      if (FAILED(hr) || !sample) {
        DeliverEndOfStream();
        m_pFilter->NotifyEvent(EC_ERRORABORT, FAILED(hr) ? hr : E_POINTER, 0);
        return FAILED(hr) ? hr : E_POINTER;
      }
      hr = fillBufferGuarded(sample);
      if (hr == S_OK) {
        hr = Deliver(sample);
        sample->Release();
        // The downstream pin refused: stop delivering, quietly.
        if (hr != S_OK) return S_OK;
      } else if (hr == S_FALSE) {
        sample->Release();
        DeliverEndOfStream();
        return S_OK;
      } else {
        sample->Release();
        DeliverEndOfStream();
        m_pFilter->NotifyEvent(EC_ERRORABORT, hr, 0);
        return hr;
      }
    }
    // CMD_STOP is answered by ThreadProc once this loop has left.
    if (com == CMD_RUN || com == CMD_PAUSE) {
      Reply(static_cast<DWORD>(S_OK));
    } else if (com != CMD_STOP) {
      Reply(static_cast<DWORD>(E_UNEXPECTED));
    }
  } while (com != CMD_STOP);
  return S_FALSE;
}

HRESULT CSourceStream::CheckMediaType(const CMediaType* pMediaType) {
  if (!pMediaType) return E_POINTER;
  CAutoLock lock(m_pFilter->pStateLock());
  CMediaType mt;
  GetMediaType(&mt);
  return mt == *pMediaType ? S_OK : E_FAIL;
}

HRESULT CSourceStream::GetMediaType(int iPosition, CMediaType* pMediaType) {
  if (!pMediaType) return E_POINTER;
  CAutoLock lock(m_pFilter->pStateLock());
  if (iPosition < 0) return E_INVALIDARG;
  if (iPosition > 0) return VFW_S_NO_MORE_ITEMS;
  return GetMediaType(pMediaType);
}
