#include "kellib3/system/library.h"

#include <cstdio>
#include <string>

#include "kellib3/core/lib_error.h"
#include "kellib3/grabber/state_file.h"

namespace kellib3 {
namespace {

std::string hex(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", v);
  return buf;
}

}  // namespace

Library& library() {
  static Library lib;
  return lib;
}

void Library::init() {
  if (initCount == 0) {
    Config fresh = configFromEnvironment();
    config = std::move(fresh);
    clock = std::make_unique<VirtualClock>(config.timeScale);
    faults.reset(config.faults);
  }
  ++initCount;
}

void Library::exit() {
  if (initCount == 0) KL3_RAISE(ErrorCode::NotInitialised, 0, "KelLib3Exit without KelLib3Init");
  if (--initCount > 0) return;
  std::string failure;
  for (const auto& c : controllers) {
    if (!c) continue;
    try {
      saveState(*c, *clock);
    } catch (const LibError& e) {
      failure = e.remark;
    }
  }
  systems.clear();
  interfaces.clear();
  dmaContexts.clear();
  headers.clear();
  controllers.clear();
  claimedBy_.clear();
  wake();
  if (!failure.empty()) KL3_RAISE(ErrorCode::StateFile, 0, failure);
}

std::uint32_t Library::newHandle(std::uint32_t prefix) {
  next_ = (next_ + 1) & 0x00FFFFFFu;
  if (next_ == 0) next_ = 1;
  return (prefix << 24) | next_;
}

System& Library::system(std::uint32_t handle) {
  auto it = systems.find(handle);
  if (it == systems.end()) KL3_RAISE(ErrorCode::InvalidHandle, handle, "unknown system handle " + hex(handle));
  return *it->second;
}

System& Library::initialisedSystem(std::uint32_t handle) {
  auto& s = system(handle);
  if (s.controller == nullptr)
    KL3_RAISE(ErrorCode::OutOfOrder, handle, "system " + hex(handle) + " is not initialised (KelLib3SystemInit)");
  return s;
}

Interface& Library::interface(std::uint32_t handle, IfaceKind kind, const char* what) {
  auto it = interfaces.find(handle);
  if (it == interfaces.end() || it->second.kind != kind)
    KL3_RAISE(ErrorCode::InvalidHandle, handle, hex(handle) + " is not " + what);
  return it->second;
}

DataHeader& Library::header(std::uint32_t handle, bool mustBeInitialised) {
  auto it = headers.find(handle);
  if (it == headers.end()) KL3_RAISE(ErrorCode::InvalidHandle, handle, "unknown data header " + hex(handle));
  if (mustBeInitialised && !it->second->initialised)
    KL3_RAISE(ErrorCode::OutOfOrder, handle, "data header " + hex(handle) + " is not initialised (KelLib3DataheaderInit)");
  return *it->second;
}

DmaContext& Library::dmaContext(std::uint32_t handle) {
  auto it = dmaContexts.find(handle);
  if (it == dmaContexts.end()) KL3_RAISE(ErrorCode::InvalidHandle, handle, "unknown DMA context " + hex(handle));
  return *it->second;
}

Controller& Library::controllerOf(const Interface& i) {
  auto& s = system(i.system);
  if (s.controller == nullptr) KL3_RAISE(ErrorCode::OutOfOrder, i.system, "the system is not initialised");
  return *s.controller;
}

Controller& Library::claimController(std::int32_t index, std::uint32_t system) {
  if (index < 0 || static_cast<unsigned>(index) >= config.controllers)
    KL3_RAISE(ErrorCode::NoController, system,
              "controller " + std::to_string(index) + " does not exist (" + std::to_string(config.controllers) +
                  " installed)");
  const auto u = static_cast<unsigned>(index);
  if (auto it = claimedBy_.find(u); it != claimedBy_.end() && it->second != system)
    KL3_RAISE(ErrorCode::NoController, system, "controller " + std::to_string(index) + " is used by another system");
  if (controllers.size() < config.controllers) controllers.resize(config.controllers);
  if (!controllers[u]) {
    // Kept even when its saved state is refused: it goes on with defaults,
    // and the refusal is reported by this claim only.
    controllers[u] = std::make_unique<Controller>(u, config);
    loadState(*controllers[u], *clock);
  }
  claimedBy_[u] = system;
  return *controllers[u];
}

void Library::destroySystem(std::uint32_t handle) {
  auto& s = system(handle);
  Controller* c = s.controller;
  for (const auto& [key, iface] : s.interfaces) interfaces.erase(iface);
  if (c) claimedBy_.erase(c->index());
  systems.erase(handle);
  wake();
  if (c) persist(*c);
}

void Library::persist(const Controller& c) { saveState(c, *clock); }

}  // namespace kellib3
