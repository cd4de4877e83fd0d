// The four exports of an in-process server module, over its template table
// and its plat::ModuleRefCount. Use once, at namespace scope, in the module.
#pragma once

#include "platform/com/factory.h"
#include "platform/com/registration.h"

// Defines a module's four exports over its template table and counter.
// Registration finds the module's path from the address of its own export.
#define KEL_COM_MODULE_EXPORTS(templates, moduleCount)                                                     \
  extern "C" HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {                        \
    return plat::moduleGetClassObject(templates, moduleCount, clsid, riid, ppv);                         \
  }                                                                                                      \
  extern "C" HRESULT DllCanUnloadNow() { return (moduleCount).canUnloadNow(); }                         \
  extern "C" HRESULT DllRegisterServer() {                                                               \
    return plat::registerServer(reinterpret_cast<const void*>(&DllRegisterServer), templates, false);     \
  }                                                                                                      \
  extern "C" HRESULT DllUnregisterServer() {                                                             \
    return plat::registerServer(reinterpret_cast<const void*>(&DllUnregisterServer), templates, true);    \
  }
