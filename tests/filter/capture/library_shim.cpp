#include "tests/filter/capture/library_shim.h"

#include <dlfcn.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>

#include "filter/hardware/kellib3.h"

namespace kel::test::shim {
namespace {

using Address = std::pair<std::uint32_t, std::uint32_t>;

struct State {
  std::mutex mutex;
  std::map<KL3_HANDLE, Address> handles;  // every interface handed out
  std::set<Address> hidden;
  std::map<std::uint32_t, std::pair<std::int32_t, std::uint32_t>> infos;
  std::map<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>, std::int32_t> scalars;
  std::map<std::uint32_t, std::uint64_t> commands;
  std::condition_variable commandMade;
};

State& state() {
  static State s;
  return s;
}

std::optional<Address> addressOf(KL3_HANDLE handle) {
  auto it = state().handles.find(handle);
  if (it == state().handles.end()) return std::nullopt;
  return it->second;
}

template <class Fn>
Fn real(const char* name) {
  void* f = dlsym(RTLD_NEXT, name);
  if (!f) throw std::runtime_error(std::string("library shim: no real ") + name);
  return reinterpret_cast<Fn>(f);
}

constexpr KL3_RESULT kUnknownIdentifier = 5;

}  // namespace

void reset() {
  std::lock_guard lock(state().mutex);
  state().hidden.clear();
  state().infos.clear();
  state().scalars.clear();
}

void hideInterface(std::uint32_t id, std::uint32_t index) {
  std::lock_guard lock(state().mutex);
  state().hidden.insert({id, index});
}

void overrideInfo(std::uint32_t id, std::int32_t value, std::uint32_t type) {
  std::lock_guard lock(state().mutex);
  state().infos[id] = {value, type};
}

void overrideScalar(std::uint32_t id, std::uint32_t index, std::uint32_t unit, std::int32_t value) {
  std::lock_guard lock(state().mutex);
  state().scalars[{id, index, unit}] = value;
}

std::uint64_t commandCount(std::uint32_t command) {
  std::lock_guard lock(state().mutex);
  return state().commands[command];
}

bool waitForCommands(std::uint32_t command, std::uint64_t count) {
  std::unique_lock lock(state().mutex);
  return state().commandMade.wait_for(lock, std::chrono::seconds(60),
                                      [&] { return state().commands[command] >= count; });
}

namespace {

void countCommand(std::uint32_t command) {
  {
    std::lock_guard lock(state().mutex);
    ++state().commands[command];
  }
  state().commandMade.notify_all();
}

}  // namespace

}  // namespace kel::test::shim

using namespace kel::test::shim;

extern "C" {

KL3_RESULT KelLib3SystemGetCInterface(KL3_HANDLE system, uint32_t id, uint32_t index, KL3_HANDLE* iface,
                                      KL3_HANDLE error) {
  static const auto next = real<decltype(&KelLib3SystemGetCInterface)>("KelLib3SystemGetCInterface");
  {
    std::lock_guard lock(state().mutex);
    if (state().hidden.count({id, index})) return kUnknownIdentifier;
  }
  const KL3_RESULT r = next(system, id, index, iface, error);
  if (r == 0 && iface) {
    std::lock_guard lock(state().mutex);
    state().handles[*iface] = {id, index};
  }
  return r;
}

KL3_RESULT KelLib3GetInfoScalarVal(KL3_HANDLE info, int32_t* value, uint32_t* type, KL3_HANDLE error) {
  static const auto next = real<decltype(&KelLib3GetInfoScalarVal)>("KelLib3GetInfoScalarVal");
  const KL3_RESULT r = next(info, value, type, error);
  std::lock_guard lock(state().mutex);
  const auto address = addressOf(info);
  if (r != 0 || !address || !value || !type) return r;
  if (auto it = state().infos.find(address->first); it != state().infos.end())
    std::tie(*value, *type) = it->second;
  return r;
}

KL3_RESULT KelLib3OptionGetScalar(KL3_HANDLE option, int32_t* value, uint32_t unit, KL3_HANDLE error) {
  static const auto next = real<decltype(&KelLib3OptionGetScalar)>("KelLib3OptionGetScalar");
  const KL3_RESULT r = next(option, value, unit, error);
  std::lock_guard lock(state().mutex);
  const auto address = addressOf(option);
  if (r != 0 || !address || !value) return r;
  if (auto it = state().scalars.find({address->first, address->second, unit}); it != state().scalars.end())
    *value = it->second;
  return r;
}

KL3_RESULT KelLib3CallCInterface_0(KL3_HANDLE iface, uint32_t command, KL3_HANDLE error) {
  static const auto next = real<decltype(&KelLib3CallCInterface_0)>("KelLib3CallCInterface_0");
  countCommand(command);
  return next(iface, command, error);
}

KL3_RESULT KelLib3CallCInterface_1(KL3_HANDLE iface, uint32_t command, uint32_t blockSize, void* block,
                                   KL3_HANDLE error) {
  static const auto next = real<decltype(&KelLib3CallCInterface_1)>("KelLib3CallCInterface_1");
  countCommand(command);
  return next(iface, command, blockSize, block, error);
}

}  // extern "C"
