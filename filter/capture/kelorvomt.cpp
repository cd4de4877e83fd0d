// The module kelorvomt.ax: its one class, the filter-mapper data registered
// with it, and the four exports over them.
#include "filter/capture/KelOrvoSource.h"
#include "filter/options/module_count.h"
#include "platform/com/factory_exports.h"
#include "platform/dshow/guids.h"

namespace {

plat::ModuleRefCount g_moduleCount;

// Every object of the module, property objects included, counts here
// before the first one is made.
const bool g_countBound = (Options::setModuleRefCount(&g_moduleCount), true);

const AMOVIESETUP_MEDIATYPE kPinTypes[] = {{&MEDIATYPE_Video, &MEDIASUBTYPE_NULL}};

const AMOVIESETUP_PIN kPins[] = {{
    u"Output",
    FALSE,      // rendered
    TRUE,       // output
    FALSE,      // zero instances
    FALSE,      // many instances
    &GUID_NULL,  // connects to filter
    nullptr,    // connects to pin
    1,
    kPinTypes,
}};

// 0x200000: the merit of a filter that is never picked by automatic graph
// building; the shell always adds it by class.
const AMOVIESETUP_FILTER kFilter = {&CLSID_KelOrvoSource, u"KelOrvoSource Filter", 0x200000, 1, kPins};

const CFactoryTemplate g_Templates[] = {
    {u"KelOrvoSource Filter", &CLSID_KelOrvoSource, KelOrvoSource::CreateInstance, &kFilter},
};

}  // namespace

KEL_COM_MODULE_EXPORTS(g_Templates, g_moduleCount)
