// The running object table, in-process: objects registered under a moniker
// so that others (a graph viewer) can find them by display name. Item
// monikers are the only kind made here. IMoniker carries the methods this
// system calls; monikers made by other parts of the platform (device
// enumeration) implement the same interface.
#pragma once

#include <string>
#include <vector>

#include "platform/com/unknown.h"

struct IBindCtx;  // binding contexts are not used; callers pass null

inline constexpr IID IID_IMoniker{0x0000000F, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr IID IID_IRunningObjectTable{0x00000010, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

inline constexpr DWORD ROTFLAGS_REGISTRATIONKEEPSALIVE = 0x1;
inline constexpr HRESULT MK_S_MONIKERALREADYREGISTERED = kelHresult(0x000401E7);
inline constexpr HRESULT MK_E_NOOBJECT = kelHresult(0x800401E5);
inline constexpr HRESULT MK_E_NOSTORAGE = kelHresult(0x800401ED);

struct IMoniker : IUnknown {
  virtual HRESULT BindToObject(IBindCtx* ctx, IMoniker* left, REFIID riid, void** ppv) = 0;
  virtual HRESULT BindToStorage(IBindCtx* ctx, IMoniker* left, REFIID riid, void** ppv) = 0;
  // The name is allocated with CoTaskMemAlloc; the caller frees it.
  virtual HRESULT GetDisplayName(IBindCtx* ctx, IMoniker* left, LPOLESTR* name) = 0;

 protected:
  ~IMoniker() = default;
};

struct IRunningObjectTable : IUnknown {
  // The table keeps a reference to the object until Revoke. Registering a
  // name already present succeeds with MK_S_MONIKERALREADYREGISTERED.
  virtual HRESULT Register(DWORD flags, IUnknown* object, IMoniker* name, DWORD* cookie) = 0;
  virtual HRESULT Revoke(DWORD cookie) = 0;
  virtual HRESULT IsRunning(IMoniker* name) = 0;
  virtual HRESULT GetObject(IMoniker* name, IUnknown** object) = 0;

 protected:
  ~IRunningObjectTable() = default;
};

HRESULT GetRunningObjectTable(DWORD reserved, IRunningObjectTable** table);
// Display name: the delimiter followed by the item ("!" + "FilterGraph ...").
// Binding the moniker to an object looks its name up in the table.
HRESULT CreateItemMoniker(LPCOLESTR delimiter, LPCOLESTR item, IMoniker** moniker);

namespace plat {

// Display names of the registered objects, in registration order.
std::vector<std::u16string> runningObjectNames();
// The first object registered under `displayName`, or null.
ComPtr<IUnknown> findRunningObject(const std::u16string& displayName);

}  // namespace plat
