#include "platform/com/co_create_builtin.h"

#include <dlfcn.h>

#include <filesystem>
#include <map>
#include <mutex>

#include "platform/com/factory.h"

namespace plat {

namespace {

struct BuiltinClasses {
  std::mutex mutex;
  std::map<CLSID, CreateInstanceFn> classes;
  // Keeps LockServer and the factories honest; the library is never unloaded.
  ModuleRefCount module;
};

BuiltinClasses& builtins() {
  // Never destroyed: registration runs from static initialisers in any order.
  static auto* classes = new BuiltinClasses;
  return *classes;
}

}  // namespace

void registerBuiltinClass(const CLSID& clsid, CreateInstanceFn create) {
  auto& b = builtins();
  std::lock_guard lock(b.mutex);
  b.classes[clsid] = create;
}

HRESULT builtinGetClassObject(REFCLSID clsid, REFIID riid, void** ppv) {
  auto& b = builtins();
  CreateInstanceFn create = nullptr;
  {
    std::lock_guard lock(b.mutex);
    auto it = b.classes.find(clsid);
    if (it != b.classes.end()) create = it->second;
  }
  if (!create) return CLASS_E_CLASSNOTAVAILABLE;
  auto* factory = new ClassFactory(create, &b.module);
  factory->NonDelegatingAddRef();
  HRESULT hr = factory->NonDelegatingQueryInterface(riid, ppv);
  factory->NonDelegatingRelease();
  return hr;
}

const std::string& platformModulePath() {
  static const std::string path = [] {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<const void*>(&platformModulePath), &info) || !info.dli_fname) return std::string();
    std::error_code ec;
    auto canonical = std::filesystem::weakly_canonical(info.dli_fname, ec);
    return ec ? std::string(info.dli_fname) : canonical.string();
  }();
  return path;
}

bool isPlatformModule(const std::string& modulePath) {
  const std::string& own = platformModulePath();
  return !own.empty() &&
         std::filesystem::path(modulePath).filename() == std::filesystem::path(own).filename();
}

}  // namespace plat
