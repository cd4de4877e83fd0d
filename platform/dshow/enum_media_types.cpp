#include "platform/dshow/enum_media_types.h"

#include <new>

#include "platform/dshow/base_pin.h"
#include "platform/dshow/errors.h"

CEnumMediaTypes::CEnumMediaTypes(CBasePin* pin)
    : CUnknown("CEnumMediaTypes", nullptr), pin_(pin), version_(pin->GetMediaTypeVersion()) {
  pin_->AddRef();
}

CEnumMediaTypes::~CEnumMediaTypes() { pin_->Release(); }

HRESULT CEnumMediaTypes::Create(CBasePin* pin, IEnumMediaTypes** ppEnum) {
  if (!ppEnum) return E_POINTER;
  auto* e = new (std::nothrow) CEnumMediaTypes(pin);
  *ppEnum = e;
  if (!e) return E_OUTOFMEMORY;
  e->NonDelegatingAddRef();
  return S_OK;
}

HRESULT CEnumMediaTypes::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IEnumMediaTypes) return GetInterface(static_cast<IEnumMediaTypes*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

bool CEnumMediaTypes::outOfSync() const { return version_ != pin_->GetMediaTypeVersion(); }

HRESULT CEnumMediaTypes::Next(ULONG cMediaTypes, AM_MEDIA_TYPE** ppMediaTypes, ULONG* pcFetched) {
  if (!ppMediaTypes) return E_POINTER;
  if (!pcFetched && cMediaTypes > 1) return E_INVALIDARG;
  if (pcFetched) *pcFetched = 0;
  if (outOfSync()) return VFW_E_ENUM_OUT_OF_SYNC;
  ULONG fetched = 0;
  while (fetched < cMediaTypes) {
    CMediaType mt;
    if (pin_->GetMediaType(position_, &mt) != S_OK) break;
    ++position_;
    AM_MEDIA_TYPE* copy = CreateMediaType(&mt);
    if (!copy) {
      // Hand back nothing rather than a partial batch the caller cannot tell.
      for (ULONG i = 0; i < fetched; ++i) DeleteMediaType(ppMediaTypes[i]);
      return E_OUTOFMEMORY;
    }
    ppMediaTypes[fetched++] = copy;
  }
  if (pcFetched) *pcFetched = fetched;
  return fetched == cMediaTypes ? S_OK : S_FALSE;
}

HRESULT CEnumMediaTypes::Skip(ULONG cMediaTypes) {
  if (outOfSync()) return VFW_E_ENUM_OUT_OF_SYNC;
  for (ULONG i = 0; i < cMediaTypes; ++i) {
    CMediaType mt;
    if (pin_->GetMediaType(position_, &mt) != S_OK) return S_FALSE;
    ++position_;
  }
  return S_OK;
}

HRESULT CEnumMediaTypes::Reset() {
  position_ = 0;
  version_ = pin_->GetMediaTypeVersion();
  return S_OK;
}

HRESULT CEnumMediaTypes::Clone(IEnumMediaTypes** ppEnum) {
  if (!ppEnum) return E_POINTER;
  if (outOfSync()) return VFW_E_ENUM_OUT_OF_SYNC;
  HRESULT hr = Create(pin_, ppEnum);
  if (FAILED(hr)) return hr;
  auto* copy = static_cast<CEnumMediaTypes*>(*ppEnum);
  copy->position_ = position_;
  copy->version_ = version_;
  return S_OK;
}
