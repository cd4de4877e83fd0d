#include "platform/dshow/media_type.h"

#include <cstring>
#include <new>

#include "platform/com/co_create.h"
#include "platform/dshow/guids.h"

void FreeMediaType(AM_MEDIA_TYPE& mt) {
  if (mt.cbFormat != 0 || mt.pbFormat) {
    CoTaskMemFree(mt.pbFormat);
    mt.cbFormat = 0;
    mt.pbFormat = nullptr;
  }
  if (mt.pUnk) {
    mt.pUnk->Release();
    mt.pUnk = nullptr;
  }
}

void DeleteMediaType(AM_MEDIA_TYPE* pmt) {
  if (!pmt) return;
  FreeMediaType(*pmt);
  CoTaskMemFree(pmt);
}

HRESULT CopyMediaType(AM_MEDIA_TYPE* pmtTarget, const AM_MEDIA_TYPE* pmtSource) {
  if (!pmtTarget || !pmtSource) return E_POINTER;
  if (pmtTarget == pmtSource) return S_OK;
  *pmtTarget = *pmtSource;
  if (pmtSource->cbFormat != 0 && pmtSource->pbFormat) {
    pmtTarget->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(pmtSource->cbFormat));
    if (!pmtTarget->pbFormat) {
      pmtTarget->cbFormat = 0;
      pmtTarget->pUnk = nullptr;
      return E_OUTOFMEMORY;
    }
    std::memcpy(pmtTarget->pbFormat, pmtSource->pbFormat, pmtSource->cbFormat);
  } else {
    pmtTarget->cbFormat = 0;
    pmtTarget->pbFormat = nullptr;
  }
  if (pmtTarget->pUnk) pmtTarget->pUnk->AddRef();
  return S_OK;
}

AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* pSrc) {
  if (!pSrc) return nullptr;
  auto* pmt = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
  if (!pmt) return nullptr;
  if (FAILED(CopyMediaType(pmt, pSrc))) {
    CoTaskMemFree(pmt);
    return nullptr;
  }
  return pmt;
}

CMediaType::CMediaType(const GUID* type) : AM_MEDIA_TYPE{} {
  InitMediaType();
  if (type) majortype = *type;
}

CMediaType::CMediaType(const AM_MEDIA_TYPE& rt) : AM_MEDIA_TYPE{} {
  CopyMediaType(this, &rt);
}

CMediaType::CMediaType(const CMediaType& rt) : AM_MEDIA_TYPE{} {
  CopyMediaType(this, &rt);
}

CMediaType& CMediaType::operator=(const AM_MEDIA_TYPE& rt) {
  Set(rt);
  return *this;
}

CMediaType& CMediaType::operator=(const CMediaType& rt) {
  Set(rt);
  return *this;
}

CMediaType::~CMediaType() { FreeMediaType(*this); }

HRESULT CMediaType::Set(const CMediaType& rt) { return Set(static_cast<const AM_MEDIA_TYPE&>(rt)); }

HRESULT CMediaType::Set(const AM_MEDIA_TYPE& rt) {
  if (&rt == this) return S_OK;
  FreeMediaType(*this);
  return CopyMediaType(this, &rt);
}

bool CMediaType::operator==(const CMediaType& rt) const {
  if (majortype != rt.majortype || subtype != rt.subtype || formattype != rt.formattype) return false;
  if (cbFormat != rt.cbFormat) return false;
  return cbFormat == 0 || std::memcmp(pbFormat, rt.pbFormat, cbFormat) == 0;
}

BOOL CMediaType::IsValid() const { return majortype != GUID_NULL ? TRUE : FALSE; }

ULONG CMediaType::GetSampleSize() const { return IsFixedSize() ? lSampleSize : 0; }

void CMediaType::SetSampleSize(ULONG sz) {
  if (sz == 0) {
    SetVariableSize();
  } else {
    bFixedSizeSamples = TRUE;
    lSampleSize = sz;
  }
}

void CMediaType::SetVariableSize() { bFixedSizeSamples = FALSE; }

void CMediaType::SetTemporalCompression(BOOL bCompressed) { bTemporalCompression = bCompressed; }

BOOL CMediaType::SetFormat(const BYTE* format, ULONG length) {
  if (length == 0) {
    ResetFormatBuffer();
    return TRUE;
  }
  if (!format) return FALSE;
  // The source may be our own block; copy before freeing it.
  auto* block = static_cast<BYTE*>(CoTaskMemAlloc(length));
  if (!block) return FALSE;
  std::memcpy(block, format, length);
  CoTaskMemFree(pbFormat);
  pbFormat = block;
  cbFormat = length;
  return TRUE;
}

void CMediaType::ResetFormatBuffer() {
  CoTaskMemFree(pbFormat);
  pbFormat = nullptr;
  cbFormat = 0;
}

BYTE* CMediaType::AllocFormatBuffer(ULONG length) {
  if (length == 0) return nullptr;
  auto* block = static_cast<BYTE*>(CoTaskMemAlloc(length));
  if (!block) return nullptr;
  std::memset(block, 0, length);
  CoTaskMemFree(pbFormat);
  pbFormat = block;
  cbFormat = length;
  return block;
}

BYTE* CMediaType::ReallocFormatBuffer(ULONG length) {
  if (length == 0) return nullptr;
  auto* block = static_cast<BYTE*>(CoTaskMemAlloc(length));
  if (!block) return nullptr;
  std::memset(block, 0, length);
  if (pbFormat) std::memcpy(block, pbFormat, cbFormat < length ? cbFormat : length);
  CoTaskMemFree(pbFormat);
  pbFormat = block;
  cbFormat = length;
  return block;
}

void CMediaType::InitMediaType() {
  FreeMediaType(*this);
  majortype = GUID_NULL;
  subtype = GUID_NULL;
  formattype = GUID_NULL;
  bFixedSizeSamples = TRUE;
  bTemporalCompression = FALSE;
  lSampleSize = 1;
}

BOOL CMediaType::IsPartiallySpecified() const {
  return (majortype == GUID_NULL || subtype == GUID_NULL || formattype == GUID_NULL) ? TRUE : FALSE;
}

BOOL CMediaType::MatchesPartial(const CMediaType* ppartial) const {
  if (ppartial->majortype != GUID_NULL && majortype != ppartial->majortype) return FALSE;
  if (ppartial->subtype != GUID_NULL && subtype != ppartial->subtype) return FALSE;
  if (ppartial->formattype != GUID_NULL) {
    if (formattype != ppartial->formattype) return FALSE;
    if (cbFormat != ppartial->cbFormat) return FALSE;
    if (cbFormat != 0 && std::memcmp(pbFormat, ppartial->pbFormat, cbFormat) != 0) return FALSE;
  }
  return TRUE;
}
