// The in-process server modules loaded by CoGetClassObject, each loaded
// once and kept until its DllCanUnloadNow lets it go.
#pragma once

#include <map>
#include <mutex>
#include <string>

#include "platform/com/types.h"

namespace plat {

using DllGetClassObjectFn = HRESULT (*)(REFCLSID, REFIID, void**);
using DllCanUnloadNowFn = HRESULT (*)();

struct LoadedModule {
  void* handle = nullptr;
  DllGetClassObjectFn getClassObject = nullptr;
  DllCanUnloadNowFn canUnloadNow = nullptr;
};

class ModuleTable {
 public:
  static ModuleTable& instance();

  // Loads `path` (or finds it loaded). Missing file: CO_E_DLLNOTFOUND; not a
  // module or without both entry points: CO_E_ERRORINDLL. `error` gets the
  // reason with the loader's text.
  HRESULT load(const std::string& path, LoadedModule& out, std::string& error);

  // Asks every module's DllCanUnloadNow and unloads those answering S_OK.
  void freeUnused();

  // Held across a load and the DllGetClassObject call that follows it, so
  // that freeUnused cannot unload a module between the two. Recursive: a
  // module may create objects while it is being asked for a factory.
  std::recursive_mutex& mutex() { return mutex_; }

 private:
  std::recursive_mutex mutex_;
  std::map<std::string, LoadedModule> modules_;
};

}  // namespace plat
