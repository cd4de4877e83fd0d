#include "platform/avi/device_enum.h"

#include "platform/avi/compressor_kinds.h"
#include "platform/avi/device_moniker.h"
#include "platform/com/co_create.h"
#include "platform/com/standard_classes.h"

namespace {

[[maybe_unused]] const bool registered = [] {
  plat::registerBuiltinClass(CLSID_SystemDeviceEnum, &CSystemDeviceEnum::CreateInstance);
  return true;
}();

}  // namespace

IUnknown* CSystemDeviceEnum::CreateInstance(IUnknown* outer, HRESULT* phr) {
  if (phr) *phr = S_OK;
  return (new CSystemDeviceEnum(outer))->GetNonDelegatingUnknown();
}

CSystemDeviceEnum::CSystemDeviceEnum(IUnknown* outer) : CUnknown("CSystemDeviceEnum", outer) {}

HRESULT CSystemDeviceEnum::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_ICreateDevEnum) return GetInterface(static_cast<ICreateDevEnum*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CSystemDeviceEnum::CreateClassEnumerator(REFCLSID clsidDeviceClass, IEnumMoniker** ppEnumMoniker, DWORD) {
  if (!ppEnumMoniker) return E_POINTER;
  *ppEnumMoniker = nullptr;
  if (clsidDeviceClass != CLSID_VideoCompressorCategory || plat::availableCompressors().empty()) return S_FALSE;
  *ppEnumMoniker = CCompressorMonikers::make().detach();
  return S_OK;
}

ComPtr<IEnumMoniker> CCompressorMonikers::make(std::size_t position) {
  return ComPtr<IEnumMoniker>(new CCompressorMonikers(position));
}

CCompressorMonikers::CCompressorMonikers(std::size_t position)
    : CUnknown("CCompressorMonikers", nullptr), position_(position) {}

HRESULT CCompressorMonikers::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IEnumMoniker) return GetInterface(static_cast<IEnumMoniker*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CCompressorMonikers::Next(ULONG celt, IMoniker** rgelt, ULONG* pceltFetched) {
  if (!rgelt || (celt > 1 && !pceltFetched)) return E_POINTER;
  const auto& kinds = plat::availableCompressors();
  ULONG fetched = 0;
  while (fetched < celt && position_ < kinds.size()) {
    rgelt[fetched++] = CDeviceMoniker::make(*kinds[position_++]).detach();
  }
  if (pceltFetched) *pceltFetched = fetched;
  return fetched == celt ? S_OK : S_FALSE;
}

HRESULT CCompressorMonikers::Skip(ULONG celt) {
  const std::size_t size = plat::availableCompressors().size();
  const std::size_t target = position_ + celt;
  position_ = target < size ? target : size;
  return target <= size ? S_OK : S_FALSE;
}

HRESULT CCompressorMonikers::Reset() {
  position_ = 0;
  return S_OK;
}

HRESULT CCompressorMonikers::Clone(IEnumMoniker** ppenum) {
  if (!ppenum) return E_POINTER;
  *ppenum = make(position_).detach();
  return S_OK;
}
