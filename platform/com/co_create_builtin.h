// Classes implemented inside the platform library itself.
#pragma once

#include "platform/com/co_create.h"

namespace plat {

// Hands out a class factory for a built-in class, or
// CLASS_E_CLASSNOTAVAILABLE when no class of that identifier is built in.
HRESULT builtinGetClassObject(REFCLSID clsid, REFIID riid, void** ppv);

// True when `modulePath` names the platform library (by file name, so that
// the build tree and an installed copy are both recognised).
bool isPlatformModule(const std::string& modulePath);

}  // namespace plat
