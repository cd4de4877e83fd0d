#include "shell/graph/class_check.h"

#include "platform/com/class_registry.h"
#include "platform/com/guid.h"
#include "platform/com/standard_classes.h"
#include "shared/identifiers.h"

namespace GraphClasses {

std::string Missing() {
  struct Needed {
    const char* label;
    const CLSID* clsid;
  };
  static constexpr Needed kNeeded[] = {
      {"CLSID_KelOrvoSource", &CLSID_KelOrvoSource}, {"CLSID_FilterGraph", &CLSID_FilterGraph},
      {"CLSID_VideoMixingRenderer", &CLSID_VideoMixingRenderer}, {"CLSID_AviDest", &CLSID_AviDest},
      {"CLSID_FileWriter", &CLSID_FileWriter}, {"CLSID_SmartTee", &CLSID_SmartTee},
  };
  const plat::ClassRegistry registry = plat::ClassRegistry::user();
  std::string missing;
  for (const Needed& n : kNeeded) {
    // Without a readable class key there is nothing to judge by: the class
    // counts as present and its creation reports the real reason.
    if (registry.keyExists("CLSID") != S_OK) continue;
    if (registry.keyExists("CLSID\\" + plat::guidToString(*n.clsid)) != S_OK) missing += std::string(n.label) + "\n";
  }
  return missing;
}

}  // namespace GraphClasses
