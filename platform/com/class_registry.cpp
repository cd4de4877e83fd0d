#include "platform/com/class_registry.h"

namespace plat {

namespace {

thread_local std::string tLastError;

HRESULT fail(HRESULT hr, std::string text) {
  tLastError = std::move(text);
  return hr;
}

HRESULT badPath(std::string_view key) {
  return fail(E_INVALIDARG, "bad registry key path \"" + std::string(key) + "\"");
}

}  // namespace

const std::string& lastRegistryError() { return tLastError; }

HRESULT ClassRegistry::snapshot(RegKey& out) const {
  std::string error;
  HRESULT hr = file_.load(out, error);
  return FAILED(hr) ? fail(hr, error) : hr;
}

HRESULT ClassRegistry::findForRead(std::string_view key, RegKey& tree, const RegKey*& found) const {
  auto names = splitKeyPath(key);
  if (!names) return badPath(key);
  if (HRESULT hr = snapshot(tree); FAILED(hr)) return hr;
  found = findKey(tree, *names);
  if (!found) return fail(REGDB_E_KEYMISSING, "registry key \"" + std::string(key) + "\" not found");
  return S_OK;
}

HRESULT ClassRegistry::keyExists(std::string_view key) const {
  RegKey tree;
  const RegKey* found = nullptr;
  HRESULT hr = findForRead(key, tree, found);
  if (hr == REGDB_E_KEYMISSING) return S_FALSE;
  return hr;
}

HRESULT ClassRegistry::getValue(std::string_view key, std::string_view name, RegValue& out) const {
  RegKey tree;
  const RegKey* found = nullptr;
  if (HRESULT hr = findForRead(key, tree, found); FAILED(hr)) return hr;
  auto it = found->values.find(name);
  if (it == found->values.end())
    return fail(REGDB_E_KEYMISSING,
                "registry value \"" + std::string(name) + "\" not found under \"" + std::string(key) + "\"");
  out = it->second;
  return S_OK;
}

HRESULT ClassRegistry::getString(std::string_view key, std::string_view name, std::string& out) const {
  RegValue v;
  if (HRESULT hr = getValue(key, name, v); FAILED(hr)) return hr;
  if (auto* s = std::get_if<std::string>(&v)) {
    out = std::move(*s);
    return S_OK;
  }
  return fail(DISP_E_TYPEMISMATCH, "registry value \"" + std::string(name) + "\" under \"" +
                                       std::string(key) + "\" is not a text");
}

HRESULT ClassRegistry::getDword(std::string_view key, std::string_view name, std::uint32_t& out) const {
  RegValue v;
  if (HRESULT hr = getValue(key, name, v); FAILED(hr)) return hr;
  if (auto* d = std::get_if<std::uint32_t>(&v)) {
    out = *d;
    return S_OK;
  }
  return fail(DISP_E_TYPEMISMATCH, "registry value \"" + std::string(name) + "\" under \"" +
                                       std::string(key) + "\" is not a dword");
}

HRESULT ClassRegistry::subkeys(std::string_view key, std::vector<std::string>& out) const {
  RegKey tree;
  const RegKey* found = nullptr;
  if (HRESULT hr = findForRead(key, tree, found); FAILED(hr)) return hr;
  out.clear();
  for (const auto& [name, sub] : found->subkeys) out.push_back(name);
  return S_OK;
}

HRESULT ClassRegistry::update(const RegistryFile::Edit& edit) {
  std::string error;
  HRESULT hr = file_.update(edit, error);
  return FAILED(hr) ? fail(hr, error) : hr;
}

HRESULT ClassRegistry::createKey(std::string_view key) {
  auto names = splitKeyPath(key);
  if (!names) return badPath(key);
  return update([&](RegKey& tree, std::string&) {
    plat::createKey(tree, *names);
    return S_OK;
  });
}

HRESULT ClassRegistry::setValue(std::string_view key, std::string_view name, RegValue value) {
  auto names = splitKeyPath(key);
  if (!names) return badPath(key);
  return update([&](RegKey& tree, std::string&) {
    plat::createKey(tree, *names).values.insert_or_assign(std::string(name), value);
    return S_OK;
  });
}

HRESULT ClassRegistry::deleteValue(std::string_view key, std::string_view name) {
  auto names = splitKeyPath(key);
  if (!names) return badPath(key);
  return update([&](RegKey& tree, std::string& error) {
    RegKey* found = findKey(tree, *names);
    auto it = found ? found->values.find(name) : decltype(found->values.end()){};
    if (!found || it == found->values.end()) {
      error = "registry value \"" + std::string(name) + "\" not found under \"" + std::string(key) + "\"";
      return REGDB_E_KEYMISSING;
    }
    found->values.erase(it);
    return S_OK;
  });
}

HRESULT ClassRegistry::deleteTree(std::string_view key) {
  auto names = splitKeyPath(key);
  if (!names) return badPath(key);
  bool existed = false;
  HRESULT hr = update([&](RegKey& tree, std::string&) {
    existed = deleteKey(tree, *names);
    return S_OK;
  });
  return SUCCEEDED(hr) && !existed ? S_FALSE : hr;
}

}  // namespace plat
