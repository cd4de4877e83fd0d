#include "platform/com/co_create.h"

#include <cstdlib>

#include "platform/com/class_registry.h"
#include "platform/com/co_create_builtin.h"
#include "platform/com/co_create_modules.h"
#include "platform/com/guid.h"

namespace plat {

namespace {

thread_local std::string tLastError;

HRESULT fail(HRESULT hr, std::string text) {
  tLastError = std::move(text);
  return hr;
}

// The module registered for `clsid`, or the failure to name one.
HRESULT inprocServerPath(REFCLSID clsid, std::string& path) {
  const std::string key = "CLSID\\" + guidToString(clsid) + "\\InprocServer32";
  HRESULT hr = ClassRegistry::user().getString(key, "", path);
  if (hr == REGDB_E_KEYMISSING || (SUCCEEDED(hr) && path.empty()))
    return fail(REGDB_E_CLASSNOTREG, "class " + guidToString(clsid) + " is not registered");
  if (FAILED(hr)) return fail(hr, lastRegistryError());
  return S_OK;
}

}  // namespace

const std::string& lastCoCreateError() { return tLastError; }

}  // namespace plat

HRESULT CoGetClassObject(REFCLSID clsid, DWORD clsctx, void*, REFIID riid, void** ppv) {
  using namespace plat;
  if (!ppv) return fail(E_POINTER, "null out pointer");
  *ppv = nullptr;
  if (!(clsctx & CLSCTX_INPROC_SERVER))
    return fail(REGDB_E_CLASSNOTREG, "only in-process servers exist here");
  std::string path;
  if (HRESULT hr = inprocServerPath(clsid, path); FAILED(hr)) return hr;

  if (isPlatformModule(path)) {
    HRESULT hr = builtinGetClassObject(clsid, riid, ppv);
    if (hr == CLASS_E_CLASSNOTAVAILABLE)
      return fail(hr, "class " + guidToString(clsid) + " is not built into " + path);
    return FAILED(hr) ? fail(hr, "the built-in class factory refused the interface") : hr;
  }

  auto& table = ModuleTable::instance();
  std::lock_guard lock(table.mutex());
  LoadedModule module;
  std::string error;
  if (HRESULT hr = table.load(path, module, error); FAILED(hr)) return fail(hr, error);
  HRESULT hr = module.getClassObject(clsid, riid, ppv);
  if (FAILED(hr)) {
    *ppv = nullptr;
    return fail(hr, "DllGetClassObject of " + path + " failed for class " + guidToString(clsid));
  }
  return hr;
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD clsctx, REFIID riid, void** ppv) {
  using namespace plat;
  if (!ppv) return fail(E_POINTER, "null out pointer");
  *ppv = nullptr;
  ComPtr<IClassFactory> factory;
  if (HRESULT hr = CoGetClassObject(clsid, clsctx, nullptr, IID_IClassFactory, factory.putVoid()); FAILED(hr))
    return hr;
  HRESULT hr = factory->CreateInstance(outer, riid, ppv);
  if (FAILED(hr)) {
    *ppv = nullptr;
    return fail(hr, "the class factory of " + guidToString(clsid) + " could not make the object");
  }
  return hr;
}

void CoFreeUnusedLibraries() { plat::ModuleTable::instance().freeUnused(); }

HRESULT CoInitialize(void*) { return S_OK; }
HRESULT CoInitializeEx(void*, DWORD) { return S_OK; }
void CoUninitialize() {}

void* CoTaskMemAlloc(std::size_t size) { return std::malloc(size ? size : 1); }
void CoTaskMemFree(void* p) { std::free(p); }
