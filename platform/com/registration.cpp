#include "platform/com/registration.h"

#include <dlfcn.h>

#include <filesystem>

#include "platform/com/class_registry.h"
#include "platform/com/guid.h"

namespace plat {

namespace {

// Names in set-up data are UTF-16; the registry holds UTF-8.
std::string utf8(const WCHAR* text) {
  std::string out;
  if (!text) return out;
  for (const WCHAR* p = text; *p; ++p) {
    char32_t c = *p;
    if (c >= 0xD800 && c < 0xDC00 && p[1] >= 0xDC00 && p[1] < 0xE000) {
      c = 0x10000 + ((c - 0xD800) << 10) + (static_cast<char32_t>(p[1]) - 0xDC00);
      ++p;
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;  // an unpaired surrogate
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::string guidText(const CLSID* clsid) { return guidToString(clsid ? *clsid : GUID_NULL); }

std::vector<std::string> keyNames(const std::string& path) { return splitKeyPath(path).value(); }

void writeFilter(RegKey& tree, const CLSID& clsid, const AMOVIESETUP_FILTER& filter, const std::string& name) {
  RegKey& instance = createKey(tree, keyNames(filterInstanceKey(clsid)));
  instance = RegKey{};
  instance.values["FriendlyName"] = filter.strName ? utf8(filter.strName) : name;
  instance.values["CLSID"] = guidToString(clsid);
  instance.values["Merit"] = filter.dwMerit;
  for (UINT i = 0; i < filter.nPins && filter.lpPin; ++i) {
    const AMOVIESETUP_PIN& pin = filter.lpPin[i];
    RegKey& key = instance.subkeys["Pins"].subkeys[std::to_string(i)];
    key.values["Name"] = utf8(pin.strName);
    key.values["Rendered"] = static_cast<std::uint32_t>(pin.bRendered != 0);
    key.values["Output"] = static_cast<std::uint32_t>(pin.bOutput != 0);
    key.values["ZeroInstances"] = static_cast<std::uint32_t>(pin.bZero != 0);
    key.values["Many"] = static_cast<std::uint32_t>(pin.bMany != 0);
    key.values["ConnectsToFilter"] = guidText(pin.clsConnectsToFilter);
    key.values["ConnectsToPin"] = utf8(pin.strConnectsToPin);
    for (UINT t = 0; t < pin.nMediaTypes && pin.lpMediaType; ++t) {
      RegKey& type = key.subkeys["Types"].subkeys[std::to_string(t)];
      type.values["MajorType"] = guidText(pin.lpMediaType[t].clsMajorType);
      type.values["SubType"] = guidText(pin.lpMediaType[t].clsMinorType);
    }
  }
}

void removeKey(RegKey& tree, const std::string& path) {
  auto names = keyNames(path);
  if (deleteKey(tree, names)) pruneEmptyParents(tree, names);
}

}  // namespace

std::string filterInstanceKey(const CLSID& clsid) {
  return "CLSID\\" + guidToString(CLSID_LegacyAmFilterCategory) + "\\Instance\\" + guidToString(clsid);
}

HRESULT registerClasses(std::span<const ClassEntry> classes, const std::string& modulePath, bool unregister) {
  return ClassRegistry::user().update([&](RegKey& tree, std::string&) {
    for (const auto& entry : classes) {
      const std::string classKey = "CLSID\\" + guidToString(entry.clsid);
      if (unregister) {
        removeKey(tree, classKey);
        if (entry.filter) removeKey(tree, filterInstanceKey(entry.clsid));
        continue;
      }
      RegKey& cls = createKey(tree, keyNames(classKey));
      cls.values[""] = entry.name;
      RegKey& server = cls.subkeys["InprocServer32"];
      server.values[""] = modulePath;
      server.values["ThreadingModel"] = std::string("Both");
      if (entry.filter) writeFilter(tree, entry.clsid, *entry.filter, entry.name);
    }
    return S_OK;
  });
}

std::string modulePathOf(const void* address) {
  Dl_info info{};
  if (!dladdr(address, &info) || !info.dli_fname || !*info.dli_fname) return {};
  std::error_code ec;
  auto full = std::filesystem::weakly_canonical(std::filesystem::absolute(info.dli_fname, ec), ec);
  return ec ? std::string(info.dli_fname) : full.string();
}

HRESULT registerServer(const void* addressInModule, std::span<const CFactoryTemplate> templates, bool unregister) {
  const std::string path = modulePathOf(addressInModule);
  if (path.empty()) return E_FAIL;
  std::vector<ClassEntry> classes;
  for (const auto& t : templates) {
    if (!t.m_ClsID) continue;
    classes.push_back({*t.m_ClsID, utf8(t.m_Name), t.m_pAMovieSetup_Filter});
  }
  return registerClasses(classes, path, unregister);
}

HRESULT registerModule(const std::string& path, bool unregister, std::string& reason) {
  std::error_code ec;
  if (!std::filesystem::exists(path, ec)) {
    reason = "module " + path + " not found";
    return CO_E_DLLNOTFOUND;
  }
  dlerror();
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    const char* text = dlerror();
    reason = "cannot load module " + path + ": " + (text ? text : "unknown loader error");
    return CO_E_ERRORINDLL;
  }
  const char* name = unregister ? "DllUnregisterServer" : "DllRegisterServer";
  auto entry = reinterpret_cast<HRESULT (*)()>(dlsym(handle, name));
  HRESULT hr;
  if (!entry) {
    reason = "module " + path + " lacks " + name;
    hr = CO_E_ERRORINDLL;
  } else {
    hr = entry();
    if (FAILED(hr)) reason = std::string(name) + " of " + path + " failed: " + lastRegistryError();
  }
  dlclose(handle);
  return hr;
}

}  // namespace plat
