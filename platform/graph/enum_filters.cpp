#include "platform/graph/enum_filters.h"

#include <algorithm>

#include "platform/dshow/errors.h"

CEnumFilters::CEnumFilters(IUnknown* owner, plat::FilterListSource* source)
    : CUnknown("CEnumFilters", nullptr), owner_(owner), source_(source) {
  filters_ = source_->filterSnapshot(&version_);
}

HRESULT CEnumFilters::Create(IUnknown* owner, plat::FilterListSource* source, IEnumFilters** ppEnum) {
  if (!ppEnum) return E_POINTER;
  auto* e = new CEnumFilters(owner, source);
  e->NonDelegatingAddRef();
  const HRESULT hr = e->NonDelegatingQueryInterface(IID_IEnumFilters, reinterpret_cast<void**>(ppEnum));
  e->NonDelegatingRelease();
  return hr;
}

HRESULT CEnumFilters::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IEnumFilters) return GetInterface(static_cast<IEnumFilters*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CEnumFilters::Next(ULONG cFilters, IBaseFilter** ppFilter, ULONG* pcFetched) {
  if (!ppFilter) return E_POINTER;
  if (!pcFetched && cFilters != 1) return E_INVALIDARG;
  if (pcFetched) *pcFetched = 0;
  if (outOfSync()) return VFW_E_ENUM_OUT_OF_SYNC;
  ULONG fetched = 0;
  while (fetched < cFilters && position_ < filters_.size()) {
    ppFilter[fetched++] = ComPtr<IBaseFilter>(filters_[position_++]).detach();
  }
  if (pcFetched) *pcFetched = fetched;
  return fetched == cFilters ? S_OK : S_FALSE;
}

HRESULT CEnumFilters::Skip(ULONG cFilters) {
  if (outOfSync()) return VFW_E_ENUM_OUT_OF_SYNC;
  const std::size_t left = filters_.size() - position_;
  position_ += std::min<std::size_t>(cFilters, left);
  return cFilters <= left ? S_OK : S_FALSE;
}

HRESULT CEnumFilters::Reset() {
  filters_ = source_->filterSnapshot(&version_);
  position_ = 0;
  return S_OK;
}

HRESULT CEnumFilters::Clone(IEnumFilters** ppEnum) {
  if (!ppEnum) return E_POINTER;
  if (outOfSync()) return VFW_E_ENUM_OUT_OF_SYNC;
  auto* e = new CEnumFilters(owner_.get(), source_);
  e->filters_ = filters_;
  e->position_ = position_;
  e->version_ = version_;
  e->NonDelegatingAddRef();
  const HRESULT hr = e->NonDelegatingQueryInterface(IID_IEnumFilters, reinterpret_cast<void**>(ppEnum));
  e->NonDelegatingRelease();
  return hr;
}
