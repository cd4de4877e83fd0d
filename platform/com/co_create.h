// Creating objects by class identifier. In-process servers only: the class
// registry names the module ("CLSID\{...}\InprocServer32"), which is loaded
// with dlopen and asked through its DllGetClassObject; it stays loaded until
// CoFreeUnusedLibraries finds that its DllCanUnloadNow answers S_OK.
// Classes built into the platform library itself are registered in-process
// with registerBuiltinClass and need no second load of the library.
#pragma once

#include <cstddef>
#include <string>

#include "platform/com/unknown.h"

inline constexpr DWORD CLSCTX_INPROC_SERVER = 0x1;
inline constexpr DWORD CLSCTX_INPROC_HANDLER = 0x2;
inline constexpr DWORD CLSCTX_LOCAL_SERVER = 0x4;
inline constexpr DWORD CLSCTX_REMOTE_SERVER = 0x10;
inline constexpr DWORD CLSCTX_INPROC = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER;
inline constexpr DWORD CLSCTX_ALL = CLSCTX_INPROC | CLSCTX_LOCAL_SERVER | CLSCTX_REMOTE_SERVER;
inline constexpr DWORD COINIT_MULTITHREADED = 0x0;
inline constexpr DWORD COINIT_APARTMENTTHREADED = 0x2;

// Unknown class: REGDB_E_CLASSNOTREG; module file missing: CO_E_DLLNOTFOUND;
// not a loadable module or without the entry points: CO_E_ERRORINDLL. The
// reason, with the loader's own text, is in plat::lastCoCreateError().
// *ppv is null after every failure.
HRESULT CoGetClassObject(REFCLSID clsid, DWORD clsctx, void* serverInfo, REFIID riid, void** ppv);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD clsctx, REFIID riid, void** ppv);
// Unloads every module whose DllCanUnloadNow answers S_OK.
void CoFreeUnusedLibraries();

// Apartments do not exist here: every object may be called from any thread.
HRESULT CoInitialize(void* reserved);
HRESULT CoInitializeEx(void* reserved, DWORD coinit);
void CoUninitialize();

// The task allocator, for texts handed out by COM methods (display names).
void* CoTaskMemAlloc(std::size_t size);
void CoTaskMemFree(void* p);

namespace plat {

// Makes one object of a built-in class, as a module's creation functions do.
using CreateInstanceFn = IUnknown* (*)(IUnknown* outer, HRESULT* hr);

// Makes `clsid` creatable when the registry names the platform library as
// its server. Later registrations of the same class replace earlier ones.
void registerBuiltinClass(const CLSID& clsid, CreateInstanceFn create);

// Full path of the platform library (what its classes are registered with).
const std::string& platformModulePath();

// The reason for the calling thread's last failed CoGetClassObject or
// CoCreateInstance.
const std::string& lastCoCreateError();

}  // namespace plat
