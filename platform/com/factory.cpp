#include "platform/com/factory.h"

#include <new>

namespace plat {

HRESULT createThrough(CreateInstanceFn create, IUnknown* outer, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  // An aggregated object can only hand its non-delegating unknown to the
  // outer object that is creating it.
  if (outer && riid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
  HRESULT hr = S_OK;
  IUnknown* object = create(outer, &hr);
  if (!object) return FAILED(hr) ? hr : E_OUTOFMEMORY;
  // The first reference is ours; dropping it destroys an object that failed
  // to initialise or does not offer `riid`.
  object->AddRef();
  if (SUCCEEDED(hr)) hr = object->QueryInterface(riid, ppv);
  object->Release();
  if (FAILED(hr)) *ppv = nullptr;
  return hr;
}

HRESULT ClassFactory::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IClassFactory) return GetInterface(static_cast<IClassFactory*>(this), ppv);
  return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** ppv) {
  return createThrough(create_, outer, riid, ppv);
}

HRESULT ClassFactory::LockServer(BOOL lock) {
  return module_ ? module_->lockServer(lock) : S_OK;
}

HRESULT moduleGetClassObject(std::span<const CFactoryTemplate> templates, ModuleRefCount& module,
                             REFCLSID clsid, REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (riid != IID_IUnknown && riid != IID_IClassFactory) return E_NOINTERFACE;
  for (const auto& entry : templates) {
    if (!entry.m_ClsID || *entry.m_ClsID != clsid || !entry.m_lpfnNew) continue;
    auto* factory = new (std::nothrow) ClassFactory(entry.m_lpfnNew, &module);
    if (!factory) return E_OUTOFMEMORY;
    factory->NonDelegatingAddRef();
    HRESULT hr = factory->NonDelegatingQueryInterface(riid, ppv);
    factory->NonDelegatingRelease();
    return hr;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace plat
