// Item monikers: a display name and nothing more.
#include <cstring>
#include <new>

#include "platform/com/co_create.h"
#include "platform/com/cunknown.h"
#include "platform/com/running_object_table.h"

namespace {

std::u16string wideText(LPCOLESTR text) { return text ? std::u16string(text) : std::u16string(); }

class ItemMoniker final : public CUnknown, public IMoniker {
 public:
  explicit ItemMoniker(std::u16string name) : CUnknown("ItemMoniker", nullptr), name_(std::move(name)) {}

  DECLARE_IUNKNOWN

  HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IMoniker) return GetInterface(static_cast<IMoniker*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
  }

  HRESULT BindToObject(IBindCtx*, IMoniker*, REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    ComPtr<IUnknown> object = plat::findRunningObject(name_);
    if (!object) return MK_E_NOOBJECT;
    return object->QueryInterface(riid, ppv);
  }

  // An item names a running object, never a storage.
  HRESULT BindToStorage(IBindCtx*, IMoniker*, REFIID, void** ppv) override {
    if (!ppv) return E_POINTER;
    *ppv = nullptr;
    return MK_E_NOSTORAGE;
  }

  HRESULT GetDisplayName(IBindCtx*, IMoniker*, LPOLESTR* name) override {
    if (!name) return E_POINTER;
    const std::size_t bytes = (name_.size() + 1) * sizeof(OLECHAR);
    *name = static_cast<LPOLESTR>(CoTaskMemAlloc(bytes));
    if (!*name) return E_OUTOFMEMORY;
    std::memcpy(*name, name_.c_str(), bytes);
    return S_OK;
  }

 private:
  std::u16string name_;
};

}  // namespace

HRESULT CreateItemMoniker(LPCOLESTR delimiter, LPCOLESTR item, IMoniker** moniker) {
  if (!moniker) return E_POINTER;
  *moniker = nullptr;
  auto* object = new (std::nothrow) ItemMoniker(wideText(delimiter) + wideText(item));
  if (!object) return E_OUTOFMEMORY;
  object->NonDelegatingAddRef();
  *moniker = object;
  return S_OK;
}
