// Entry points: systems and the interfaces they hand out.
#include <string>

#include "kellib3/api/guard.h"
#include "kellib3/grabber/info_items.h"

using namespace kellib3;

namespace {

std::string hex(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%X", v);
  return buf;
}

// The same (kind, id, index) always gives the same handle for a system.
KL3_HANDLE interfaceHandle(Library& lib, std::uint32_t systemHandle, System& s, IfaceKind kind, std::uint32_t id,
                           std::uint32_t index, const OptionSpec* option) {
  const auto key = std::make_tuple(static_cast<int>(kind), id, index);
  if (auto it = s.interfaces.find(key); it != s.interfaces.end()) return it->second;
  const auto handle = lib.newHandle(0x49);
  lib.interfaces[handle] = Interface{kind, systemHandle, id, index, option};
  s.interfaces[key] = handle;
  return handle;
}

bool controlExists(std::uint32_t id, std::uint32_t index) {
  return (id == 0xC0300002 && index <= 1) || (id == 0xC0300003 && index == 0) || (id == 0xC0000002 && index <= 1);
}

}  // namespace

extern "C" {

KL3_RESULT KelLib3SystemCreate(uint32_t type, KL3_HANDLE* system, KL3_HANDLE error) {
  return guarded("KelLib3SystemCreate", error, [&](auto&) {
    auto& out = required(system, "system");
    if (type != 3) KL3_RAISE(ErrorCode::InvalidArgument, 0, "system type " + std::to_string(type) + " is not supported (3 expected)");
    auto& lib = library();
    const auto handle = lib.newHandle(0x53);
    auto s = std::make_unique<System>();
    s->type = type;
    lib.systems[handle] = std::move(s);
    out = handle;
  });
}

KL3_RESULT KelLib3SystemInit(KL3_HANDLE system, KL3_HANDLE error) {
  return guarded("KelLib3SystemInit", error, [&](auto&) {
    auto& lib = library();
    auto& s = lib.system(system);
    if (s.controller) KL3_RAISE(ErrorCode::OutOfOrder, system, "the system is already initialised");
    if (lib.config.cameraAbsent)
      KL3_RAISE(ErrorCode::NoCamera, system,
                "no camera answers on controller " + std::to_string(s.controllerIndex) + " (check cable and power)");
    s.controller = &lib.claimController(s.controllerIndex, system);
  });
}

KL3_RESULT KelLib3SystemDestroy(KL3_HANDLE system, KL3_HANDLE error) {
  return guarded("KelLib3SystemDestroy", error, [&](auto&) { library().destroySystem(system); });
}

KL3_RESULT KelLib3SystemGetOptionCInterface(KL3_HANDLE system, uint32_t id, uint32_t index, KL3_HANDLE* option,
                                            KL3_HANDLE error) {
  return guarded("KelLib3SystemGetOptionCInterface", error, [&](auto&) {
    auto& out = required(option, "option");
    auto& lib = library();
    auto& s = lib.system(system);
    if (id != kControllerOption || index != 0)
      KL3_RAISE(ErrorCode::UnknownId, system, "no system option " + hex(id) + " index " + std::to_string(index));
    out = interfaceHandle(lib, system, s, IfaceKind::SystemOption, id, index, nullptr);
  });
}

KL3_RESULT KelLib3SystemGetCInterface(KL3_HANDLE system, uint32_t id, uint32_t index, KL3_HANDLE* iface,
                                      KL3_HANDLE error) {
  return guarded("KelLib3SystemGetCInterface", error, [&](auto&) {
    auto& out = required(iface, "interface");
    auto& lib = library();
    auto& s = lib.initialisedSystem(system);
    if (const auto* o = findOption(id, index, lib.config)) {
      out = interfaceHandle(lib, system, s, IfaceKind::Option, id, index, o);
    } else if (controlExists(id, index)) {
      out = interfaceHandle(lib, system, s, IfaceKind::Control, id, index, nullptr);
    } else if (infoExists(id, index)) {
      out = interfaceHandle(lib, system, s, IfaceKind::Info, id, index, nullptr);
    } else {
      KL3_RAISE(ErrorCode::UnknownId, system, "no interface " + hex(id) + " index " + std::to_string(index));
    }
  });
}

KL3_RESULT KelLib3SystemGetInDInterface(KL3_HANDLE system, uint32_t id, uint32_t index, KL3_HANDLE* input,
                                        KL3_HANDLE error) {
  return guarded("KelLib3SystemGetInDInterface", error, [&](auto&) {
    auto& out = required(input, "input");
    auto& lib = library();
    auto& s = lib.initialisedSystem(system);
    if (id != 0xC0000000 || index != 0)
      KL3_RAISE(ErrorCode::UnknownId, system, "no input interface " + hex(id) + " index " + std::to_string(index));
    out = interfaceHandle(lib, system, s, IfaceKind::Input, id, index, nullptr);
  });
}

}  // extern "C"
