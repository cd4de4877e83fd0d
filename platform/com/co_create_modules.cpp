#include "platform/com/co_create_modules.h"

#include <dlfcn.h>

#include <filesystem>

namespace plat {

namespace {

std::string loaderText() {
  const char* text = dlerror();
  return text ? text : "unknown loader error";
}

}  // namespace

ModuleTable& ModuleTable::instance() {
  // Never destroyed: modules may still be in use while statics are torn down.
  static auto* table = new ModuleTable;
  return *table;
}

HRESULT ModuleTable::load(const std::string& path, LoadedModule& out, std::string& error) {
  std::lock_guard lock(mutex_);
  std::error_code ec;
  std::string key = path;
  if (path.find('/') != std::string::npos) {
    if (!std::filesystem::exists(path, ec)) {
      error = "module " + path + " not found";
      return CO_E_DLLNOTFOUND;
    }
    key = std::filesystem::weakly_canonical(path, ec).string();
    if (ec) key = path;
  }
  if (auto it = modules_.find(key); it != modules_.end()) {
    out = it->second;
    return S_OK;
  }
  dlerror();
  void* handle = dlopen(key.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    error = "cannot load module " + path + ": " + loaderText();
    return CO_E_ERRORINDLL;
  }
  LoadedModule module;
  module.handle = handle;
  module.getClassObject = reinterpret_cast<DllGetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
  module.canUnloadNow = reinterpret_cast<DllCanUnloadNowFn>(dlsym(handle, "DllCanUnloadNow"));
  if (!module.getClassObject || !module.canUnloadNow) {
    error = "module " + path + " lacks " +
            (module.getClassObject ? "DllCanUnloadNow" : "DllGetClassObject");
    dlclose(handle);
    return CO_E_ERRORINDLL;
  }
  modules_.emplace(key, module);
  out = module;
  return S_OK;
}

void ModuleTable::freeUnused() {
  std::lock_guard lock(mutex_);
  for (auto it = modules_.begin(); it != modules_.end();) {
    if (it->second.canUnloadNow() == S_OK) {
      dlclose(it->second.handle);
      it = modules_.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace plat
