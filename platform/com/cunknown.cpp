#include "platform/com/cunknown.h"

HRESULT GetInterface(IUnknown* p, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = p;
  if (p) p->AddRef();
  return S_OK;
}

CUnknown::CUnknown(const char* name, IUnknown* outer, plat::ModuleRefCount* module)
    : name_(name ? name : ""), module_(module), owner_(outer ? outer : &nonDelegating_) {
  if (module_) module_->objectCreated();
}

CUnknown::~CUnknown() {
  if (module_) module_->objectDestroyed();
}

HRESULT CUnknown::NonDelegatingQueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  if (riid == IID_IUnknown) return GetInterface(&nonDelegating_, ppv);
  *ppv = nullptr;
  return E_NOINTERFACE;
}

ULONG CUnknown::NonDelegatingAddRef() { return ref_.fetch_add(1, std::memory_order_relaxed) + 1; }

ULONG CUnknown::NonDelegatingRelease() {
  const ULONG left = ref_.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (left == 0) {
    // A destructor that releases interfaces it obtained from itself (an
    // aggregating object holding its inner object's interfaces) must not
    // bring the count to zero a second time and delete again.
    ref_.store(1, std::memory_order_relaxed);
    delete this;
  }
  return left;
}
