// Writing and removing the registry entries of in-process servers.
//
// For each class:
//   CLSID\{clsid}                    @ = class name
//   CLSID\{clsid}\InprocServer32     @ = module's full path, ThreadingModel = "Both"
// and for a class with filter set-up data, its filter-mapper entry in the
// default filter category:
//   CLSID\{083863F1-70DE-11D0-BD40-00A0C911CE86}\Instance\{clsid}
//       FriendlyName, CLSID (text), Merit (dword)
//   ...\Instance\{clsid}\Pins\<n>              (n = 0, 1, ... in pin order)
//       Name, Rendered, Output, ZeroInstances, Many (dwords 0/1),
//       ConnectsToFilter (text GUID), ConnectsToPin
//   ...\Instance\{clsid}\Pins\<n>\Types\<m>    MajorType, SubType (text GUIDs)
// A module's entries are written or removed in one atomic registry change.
#pragma once

#include <span>
#include <string>

#include "platform/com/factory.h"
#include "platform/com/registration_types.h"

namespace plat {

struct ClassEntry {
  CLSID clsid;
  std::string name;  // UTF-8
  const AMOVIESETUP_FILTER* filter = nullptr;
};

// "CLSID\{083863F1-...}\Instance\{clsid}".
std::string filterInstanceKey(const CLSID& clsid);

// Registers (or removes) `classes` as served by `modulePath`. Returns the
// first failing HRESULT; the reason is in lastRegistryError().
HRESULT registerClasses(std::span<const ClassEntry> classes, const std::string& modulePath, bool unregister);

// Full path of the module holding `address`; empty when there is none.
std::string modulePathOf(const void* address);

// The body of a module's DllRegisterServer / DllUnregisterServer.
HRESULT registerServer(const void* addressInModule, std::span<const CFactoryTemplate> templates, bool unregister);

// For hosts: loads the module at `path` and calls its DllRegisterServer (or
// DllUnregisterServer). Missing file: CO_E_DLLNOTFOUND; not a module or no
// such export: CO_E_ERRORINDLL; else the export's own result. `reason`
// gets the text of a failure.
HRESULT registerModule(const std::string& path, bool unregister, std::string& reason);

}  // namespace plat
