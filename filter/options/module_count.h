// Which module's object count the property objects join. The property
// objects are COM objects of the filter module, so DllCanUnloadNow must see
// them: the module sets its counter here once, when it is loaded, before it
// hands out any object. Unset (null), nothing is counted.
#pragma once

#include "platform/com/module_ref_count.h"

namespace Options {

void setModuleRefCount(plat::ModuleRefCount* count);
plat::ModuleRefCount* moduleRefCount();

}  // namespace Options
