// Class factories for in-process servers. A module describes its classes
// in a template table and owns one plat::ModuleRefCount; the helpers below
// give it DllGetClassObject and DllCanUnloadNow over that table.
//
// A creation function returns the new object's non-delegating IUnknown
// holding no reference yet (as a fresh CUnknown is), or null with *hr set.
#pragma once

#include <span>

#include "platform/com/co_create.h"
#include "platform/com/cunknown.h"
#include "platform/com/module_ref_count.h"

struct AMOVIESETUP_FILTER;

struct CFactoryTemplate {
  const WCHAR* m_Name;
  const CLSID* m_ClsID;
  plat::CreateInstanceFn m_lpfnNew;
  // Filter-mapper data registered with the class; null for a plain class.
  const AMOVIESETUP_FILTER* m_pAMovieSetup_Filter;
};

namespace plat {

// Runs a creation function and hands out `riid` of the new object. Asking
// for anything but IID_IUnknown with an outer object: CLASS_E_NOAGGREGATION.
HRESULT createThrough(CreateInstanceFn create, IUnknown* outer, REFIID riid, void** ppv);

// IClassFactory over one creation function. While it lives it counts as an
// object of its module, and LockServer counts on the module too, so the
// module is not unloaded under either.
class ClassFactory final : public CUnknown, public IClassFactory {
 public:
  ClassFactory(CreateInstanceFn create, ModuleRefCount* module)
      : CUnknown("ClassFactory", nullptr, module), create_(create), module_(module) {}

  DECLARE_IUNKNOWN
  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

  HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override;
  HRESULT LockServer(BOOL lock) override;

 private:
  CreateInstanceFn create_;
  ModuleRefCount* module_;
};

// DllGetClassObject over a template table: a new ClassFactory for the
// template whose class is `clsid`, else CLASS_E_CLASSNOTAVAILABLE.
HRESULT moduleGetClassObject(std::span<const CFactoryTemplate> templates, ModuleRefCount& module,
                             REFCLSID clsid, REFIID riid, void** ppv);

}  // namespace plat
