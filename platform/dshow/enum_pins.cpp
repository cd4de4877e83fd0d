#include "platform/dshow/enum_pins.h"

#include <new>

#include "platform/dshow/base_filter.h"
#include "platform/dshow/base_pin.h"
#include "platform/dshow/errors.h"

CEnumPins::CEnumPins(CBaseFilter* filter) : CUnknown("CEnumPins", nullptr), filter_(filter) {
  filter_->AddRef();
  snapshot();
}

CEnumPins::~CEnumPins() { filter_->Release(); }

HRESULT CEnumPins::Create(CBaseFilter* filter, IEnumPins** ppEnum) {
  if (!ppEnum) return E_POINTER;
  auto* e = new (std::nothrow) CEnumPins(filter);
  *ppEnum = e;
  if (!e) return E_OUTOFMEMORY;
  e->NonDelegatingAddRef();
  return S_OK;
}

HRESULT CEnumPins::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IEnumPins) return GetInterface(static_cast<IEnumPins*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

void CEnumPins::snapshot() {
  CAutoLock lock(filter_->pStateLock());
  version_ = filter_->GetPinVersion();
  pins_.clear();
  for (int i = 0, n = filter_->GetPinCount(); i < n; ++i) {
    if (CBasePin* pin = filter_->GetPin(i)) pins_.push_back(pin);
  }
}

bool CEnumPins::outOfSync() const { return version_ != filter_->GetPinVersion(); }

HRESULT CEnumPins::Next(ULONG cPins, IPin** ppPins, ULONG* pcFetched) {
  if (!ppPins) return E_POINTER;
  if (!pcFetched && cPins > 1) return E_INVALIDARG;
  if (pcFetched) *pcFetched = 0;
  if (outOfSync()) return VFW_E_ENUM_OUT_OF_SYNC;
  ULONG fetched = 0;
  while (fetched < cPins && position_ < pins_.size()) {
    CBasePin* pin = pins_[position_++];
    pin->AddRef();
    ppPins[fetched++] = pin;
  }
  if (pcFetched) *pcFetched = fetched;
  return fetched == cPins ? S_OK : S_FALSE;
}

HRESULT CEnumPins::Skip(ULONG cPins) {
  if (outOfSync()) return VFW_E_ENUM_OUT_OF_SYNC;
  if (pins_.size() - position_ < cPins) return S_FALSE;
  position_ += cPins;
  return S_OK;
}

HRESULT CEnumPins::Reset() {
  snapshot();
  position_ = 0;
  return S_OK;
}

HRESULT CEnumPins::Clone(IEnumPins** ppEnum) {
  if (!ppEnum) return E_POINTER;
  if (outOfSync()) return VFW_E_ENUM_OUT_OF_SYNC;
  HRESULT hr = Create(filter_, ppEnum);
  if (FAILED(hr)) return hr;
  auto* copy = static_cast<CEnumPins*>(*ppEnum);
  copy->pins_ = pins_;
  copy->position_ = position_;
  copy->version_ = version_;
  return S_OK;
}
