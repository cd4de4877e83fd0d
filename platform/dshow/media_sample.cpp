#include "platform/dshow/media_sample.h"

#include "platform/dshow/errors.h"
#include "platform/dshow/mem_allocator.h"

CMediaSample::CMediaSample(CMemAllocator* allocator, BYTE* buffer, LONG length)
    : allocator_(allocator), buffer_(buffer), cbBuffer_(length), lActual_(length) {}

CMediaSample::~CMediaSample() = default;

HRESULT CMediaSample::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IMediaSample || riid == IID_IUnknown) {
    *ppv = static_cast<IMediaSample*>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG CMediaSample::AddRef() { return ref_.fetch_add(1, std::memory_order_relaxed) + 1; }

ULONG CMediaSample::Release() {
  const ULONG left = ref_.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (left == 0) {
    // Clear before handing back: once in the pool another thread may take it.
    flags_ = 0;
    mediaType_.reset();
    // May destroy the allocator and this sample with it; touch nothing after.
    allocator_->ReleaseBuffer(this);
  }
  return left;
}

HRESULT CMediaSample::GetPointer(BYTE** ppBuffer) {
  if (!ppBuffer) return E_POINTER;
  *ppBuffer = buffer_;
  return S_OK;
}

HRESULT CMediaSample::GetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) {
  if (!pTimeStart || !pTimeEnd) return E_POINTER;
  if (!(flags_ & kTimeValid)) return VFW_E_SAMPLE_TIME_NOT_SET;
  *pTimeStart = start_;
  if (!(flags_ & kStopValid)) {
    *pTimeEnd = start_ + 1;
    return VFW_S_NO_STOP_TIME;
  }
  *pTimeEnd = end_;
  return S_OK;
}

HRESULT CMediaSample::SetTime(REFERENCE_TIME* pTimeStart, REFERENCE_TIME* pTimeEnd) {
  if (!pTimeStart) {
    flags_ &= ~(kTimeValid | kStopValid);
    return S_OK;
  }
  start_ = *pTimeStart;
  flags_ |= kTimeValid;
  if (pTimeEnd) {
    end_ = *pTimeEnd;
    flags_ |= kStopValid;
  } else {
    flags_ &= ~kStopValid;
  }
  return S_OK;
}

HRESULT CMediaSample::setFlag(DWORD bit, BOOL on) {
  if (on) {
    flags_ |= bit;
  } else {
    flags_ &= ~bit;
  }
  return S_OK;
}

HRESULT CMediaSample::SetActualDataLength(LONG length) {
  if (length < 0 || length > cbBuffer_) return VFW_E_BUFFER_OVERFLOW;
  lActual_ = length;
  return S_OK;
}

HRESULT CMediaSample::GetMediaType(AM_MEDIA_TYPE** ppMediaType) {
  if (!ppMediaType) return E_POINTER;
  *ppMediaType = nullptr;
  if (!(flags_ & kTypeChanged) || !mediaType_) return S_FALSE;
  *ppMediaType = CreateMediaType(mediaType_.get());
  return *ppMediaType ? S_OK : E_OUTOFMEMORY;
}

HRESULT CMediaSample::SetMediaType(AM_MEDIA_TYPE* pMediaType) {
  if (!pMediaType) {
    mediaType_.reset();
    flags_ &= ~kTypeChanged;
    return S_OK;
  }
  auto copy = std::make_unique<CMediaType>();
  if (FAILED(copy->Set(*pMediaType))) return E_OUTOFMEMORY;
  mediaType_ = std::move(copy);
  flags_ |= kTypeChanged;
  return S_OK;
}

HRESULT CMediaSample::GetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) {
  if (!pTimeStart || !pTimeEnd) return E_POINTER;
  if (!(flags_ & kMediaTimeValid)) return VFW_E_MEDIA_TIME_NOT_SET;
  *pTimeStart = mediaStart_;
  *pTimeEnd = mediaEnd_;
  return S_OK;
}

HRESULT CMediaSample::SetMediaTime(LONGLONG* pTimeStart, LONGLONG* pTimeEnd) {
  if (!pTimeStart) {
    flags_ &= ~kMediaTimeValid;
    return S_OK;
  }
  if (!pTimeEnd) return E_POINTER;
  mediaStart_ = *pTimeStart;
  mediaEnd_ = *pTimeEnd;
  flags_ |= kMediaTimeValid;
  return S_OK;
}
