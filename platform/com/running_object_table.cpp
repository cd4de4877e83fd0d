#include "platform/com/running_object_table.h"

#include <mutex>

#include "platform/com/co_create.h"

namespace {

HRESULT displayName(IMoniker* moniker, std::u16string& out) {
  LPOLESTR name = nullptr;
  HRESULT hr = moniker->GetDisplayName(nullptr, nullptr, &name);
  if (FAILED(hr)) return hr;
  out = name ? std::u16string(name) : std::u16string();
  CoTaskMemFree(name);
  return S_OK;
}

// One table per process, alive for the whole process: its count is not kept.
class RunningObjectTable final : public IRunningObjectTable {
 public:
  HRESULT QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IRunningObjectTable) {
      *ppv = static_cast<IRunningObjectTable*>(this);
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  ULONG AddRef() override { return 1; }
  ULONG Release() override { return 1; }

  HRESULT Register(DWORD, IUnknown* object, IMoniker* name, DWORD* cookie) override {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!object || !name) return E_INVALIDARG;
    Entry entry{0, ComPtr<IUnknown>(object), {}};
    if (HRESULT hr = displayName(name, entry.name); FAILED(hr)) return hr;
    std::lock_guard lock(mutex_);
    bool duplicate = false;
    for (const auto& e : entries_) duplicate = duplicate || e.name == entry.name;
    entry.cookie = ++lastCookie_;
    if (entry.cookie == 0) entry.cookie = ++lastCookie_;  // 0 is never a cookie
    *cookie = entry.cookie;
    entries_.push_back(std::move(entry));
    return duplicate ? MK_S_MONIKERALREADYREGISTERED : S_OK;
  }

  HRESULT Revoke(DWORD cookie) override {
    ComPtr<IUnknown> released;  // released after the lock: its destructor may call back
    std::lock_guard lock(mutex_);
    for (auto it = entries_.begin(); it != entries_.end(); ++it) {
      if (it->cookie != cookie) continue;
      released = std::move(it->object);
      entries_.erase(it);
      return S_OK;
    }
    return E_INVALIDARG;
  }

  HRESULT IsRunning(IMoniker* name) override {
    if (!name) return E_INVALIDARG;
    std::u16string text;
    if (HRESULT hr = displayName(name, text); FAILED(hr)) return hr;
    return find(text) ? S_OK : S_FALSE;
  }

  HRESULT GetObject(IMoniker* name, IUnknown** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!name) return E_INVALIDARG;
    std::u16string text;
    if (HRESULT hr = displayName(name, text); FAILED(hr)) return hr;
    ComPtr<IUnknown> found = find(text);
    if (!found) return MK_E_UNAVAILABLE;
    *object = found.detach();
    return S_OK;
  }

  ComPtr<IUnknown> find(const std::u16string& name) {
    std::lock_guard lock(mutex_);
    for (const auto& e : entries_)
      if (e.name == name) return e.object;
    return nullptr;
  }

  std::vector<std::u16string> names() {
    std::lock_guard lock(mutex_);
    std::vector<std::u16string> out;
    for (const auto& e : entries_) out.push_back(e.name);
    return out;
  }

 private:
  struct Entry {
    DWORD cookie;
    ComPtr<IUnknown> object;
    std::u16string name;
  };
  std::mutex mutex_;
  std::vector<Entry> entries_;
  DWORD lastCookie_ = 0;
};

RunningObjectTable& table() {
  // Never destroyed: entries still registered at exit must not be released
  // into modules that are already gone.
  static auto* rot = new RunningObjectTable;
  return *rot;
}

}  // namespace

HRESULT GetRunningObjectTable(DWORD, IRunningObjectTable** out) {
  if (!out) return E_POINTER;
  *out = &table();
  return S_OK;
}

namespace plat {

std::vector<std::u16string> runningObjectNames() { return table().names(); }

ComPtr<IUnknown> findRunningObject(const std::u16string& displayName) { return table().find(displayName); }

}  // namespace plat
