#include <cstdio>
#include <string>

#include "platform/com/class_registry.h"
#include "platform/com/hresult_message.h"
#include "platform/com/registration.h"
#include "platform/com/standard_classes.h"
#include "tools/commands.h"
#include "tools/module_path.h"

namespace kelorvo {

int registerCommand(bool unregister) {
  const std::string module = captureModulePath().string();
  const char* verb = unregister ? "unregister" : "register";
  std::string reason;
  HRESULT hr = plat::registerModule(module, unregister, reason);
  if (FAILED(hr)) {
    std::fprintf(stderr, "kelorvo %s: %s (%s)\n", verb, reason.c_str(), plat::hresultMessage(hr).c_str());
    return 1;
  }
  hr = plat::registerStandardClasses(unregister);
  if (FAILED(hr)) {
    std::fprintf(stderr, "kelorvo %s: the platform's classes: %s (%s)\n", verb, plat::lastRegistryError().c_str(),
                 plat::hresultMessage(hr).c_str());
    return 1;
  }
  std::printf("%s %s and the platform's classes %s %s\n", unregister ? "Removed" : "Registered", module.c_str(),
              unregister ? "from" : "in", plat::userRegistryPath().c_str());
  return 0;
}

}  // namespace kelorvo
