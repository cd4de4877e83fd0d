// The library's process-wide state: configuration, clock, controllers and
// every object a handle names. One mutex guards it all; KelLib3InDInterfaceWait
// releases it while it waits on the condition variable.
#pragma once

#include <array>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <tuple>
#include <vector>

#include "kellib3/core/config.h"
#include "kellib3/core/fault_injector.h"
#include "kellib3/core/virtual_clock.h"
#include "kellib3/grabber/controller.h"
#include "kellib3/grabber/frame_cycle.h"
#include "kellib3/model/options.h"

namespace kellib3 {

struct DataHeader {
  bool initialised = false;
  std::uint32_t typeMajor = 0, typeMinor = 0, sizeLow = 0, sizeHigh = 0;
  std::array<std::uint32_t, 16> values{};
};

struct DmaContext {
  std::vector<std::uint8_t> buffer;
};

enum class IfaceKind { Option, SystemOption, Control, Info, Input };

struct Interface {
  IfaceKind kind;
  std::uint32_t system;
  std::uint32_t id;
  std::uint32_t index;
  const OptionSpec* option = nullptr;  // Option only
};

inline constexpr std::uint32_t kControllerOption = 0x700001;

struct System {
  std::uint32_t type = 0;
  std::int32_t controllerIndex = 0;
  Controller* controller = nullptr;    // set by KelLib3SystemInit
  FrameCycle cycle;
  std::map<std::tuple<int, std::uint32_t, std::uint32_t>, std::uint32_t> interfaces;
};

class Library {
 public:
  std::mutex mutex;
  std::condition_variable wakeUp;
  std::uint64_t generation = 0;  // changes whenever waiters should look again

  unsigned initCount = 0;
  Config config;
  std::unique_ptr<VirtualClock> clock;
  FaultInjector faults;

  std::vector<std::unique_ptr<Controller>> controllers;  // by index, made on first use
  std::map<std::uint32_t, std::unique_ptr<System>> systems;
  std::map<std::uint32_t, Interface> interfaces;
  std::map<std::uint32_t, std::unique_ptr<DmaContext>> dmaContexts;
  std::map<std::uint32_t, std::unique_ptr<DataHeader>> headers;

  // Starts or ends the library's life (counted: several users may share it).
  void init();
  void exit();

  std::int64_t nowNs() const { return clock->nowNs(); }
  std::uint32_t newHandle(std::uint32_t prefix);

  // Look-ups that raise LibError with a clear reason.
  System& system(std::uint32_t handle);
  System& initialisedSystem(std::uint32_t handle);
  Interface& interface(std::uint32_t handle, IfaceKind kind, const char* what);
  DataHeader& header(std::uint32_t handle, bool mustBeInitialised = true);
  DmaContext& dmaContext(std::uint32_t handle);
  Controller& controllerOf(const Interface& i);
  System& systemOf(const Interface& i) { return *systems.at(i.system); }

  // Claims controller `index` for a system (loads its saved state).
  Controller& claimController(std::int32_t index, std::uint32_t system);
  void destroySystem(std::uint32_t handle);
  void persist(const Controller& c);
  // Wakes every KelLib3InDInterfaceWait (input started or stopped, objects gone).
  void wake() {
    ++generation;
    wakeUp.notify_all();
  }

 private:
  std::map<unsigned, std::uint32_t> claimedBy_;
  std::uint32_t next_ = 1;
};

Library& library();

}  // namespace kellib3
