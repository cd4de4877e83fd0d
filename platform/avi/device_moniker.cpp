#include "platform/avi/device_moniker.h"

#include <cstring>
#include <string>

#include "platform/avi/video_compressor.h"
#include "platform/com/co_create.h"
#include "platform/com/guid.h"
#include "platform/kernel/text_codec.h"

ComPtr<IMoniker> CDeviceMoniker::make(const plat::CompressorKind& kind) {
  return ComPtr<IMoniker>(new CDeviceMoniker(kind));
}

CDeviceMoniker::CDeviceMoniker(const plat::CompressorKind& kind) : CUnknown("CDeviceMoniker", nullptr), kind_(kind) {}

HRESULT CDeviceMoniker::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IMoniker) return GetInterface(static_cast<IMoniker*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CDeviceMoniker::BindToObject(IBindCtx*, IMoniker*, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  HRESULT hr = S_OK;
  CVideoCompressor* filter = CVideoCompressor::create(kind_, &hr);
  IUnknown* unknown = filter->GetNonDelegatingUnknown();
  unknown->AddRef();
  if (SUCCEEDED(hr)) hr = unknown->QueryInterface(riid, ppv);
  unknown->Release();
  return hr;
}

HRESULT CDeviceMoniker::BindToStorage(IBindCtx*, IMoniker*, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid != IID_IPropertyBag) return E_NOINTERFACE;
  *ppv = CDevicePropertyBag::make(kind_).detach();
  return S_OK;
}

HRESULT CDeviceMoniker::GetDisplayName(IBindCtx*, IMoniker*, LPOLESTR* name) {
  if (!name) return E_POINTER;
  const std::u16string text =
      plat::utf8ToUtf16("@device:cm:" + plat::guidToString(CLSID_VideoCompressorCategory) + "\\" + kind_.encoder);
  const std::size_t bytes = (text.size() + 1) * sizeof(OLECHAR);
  *name = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
  if (!*name) return E_OUTOFMEMORY;
  std::memcpy(*name, text.c_str(), bytes);
  return S_OK;
}

ComPtr<IPropertyBag> CDevicePropertyBag::make(const plat::CompressorKind& kind) {
  return ComPtr<IPropertyBag>(new CDevicePropertyBag(kind));
}

CDevicePropertyBag::CDevicePropertyBag(const plat::CompressorKind& kind)
    : CUnknown("CDevicePropertyBag", nullptr), kind_(kind) {}

HRESULT CDevicePropertyBag::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (riid == IID_IPropertyBag) return GetInterface(static_cast<IPropertyBag*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT CDevicePropertyBag::Read(LPCOLESTR pszPropName, VARIANT* pVar, IErrorLog*) {
  if (!pszPropName || !pVar) return E_POINTER;
  if (std::u16string_view(pszPropName) != u"FriendlyName") return kelHresult(0x80070002);
  if (pVar->vt != VT_EMPTY && pVar->vt != VT_BSTR) return DISP_E_TYPEMISMATCH;
  BSTR name = SysAllocString(kind_.friendlyName);
  if (!name) return E_OUTOFMEMORY;
  VariantClear(pVar);
  pVar->vt = VT_BSTR;
  pVar->bstrVal = name;
  return S_OK;
}

HRESULT CDevicePropertyBag::Write(LPCOLESTR, VARIANT*) { return E_ACCESSDENIED; }
