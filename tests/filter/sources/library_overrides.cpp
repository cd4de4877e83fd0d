#include "tests/filter/sources/library_overrides.h"

#include <dlfcn.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>

#include "filter/hardware/kellib3.h"

namespace kel::test::overrides {
namespace {

struct State {
  std::mutex mutex;
  std::condition_variable changed;
  std::uint32_t part = 0;
  int partAnswers = 0;
  std::uint64_t nextParts = 0;
  bool refuseRange = false;
  std::uint64_t refusedRanges = 0;
};

State& state() {
  static State s;
  return s;
}

template <class Fn>
Fn real(const char* name) {
  void* f = dlsym(RTLD_NEXT, name);
  if (!f) throw std::runtime_error(std::string("library overrides: no real ") + name);
  return reinterpret_cast<Fn>(f);
}

}  // namespace

void answerNextPart(std::uint32_t part, int count) {
  std::lock_guard lock(state().mutex);
  state().part = part;
  state().partAnswers = count;
}

std::uint64_t nextPartCommands() {
  std::lock_guard lock(state().mutex);
  return state().nextParts;
}

void refuseFrameRange(bool on) {
  std::lock_guard lock(state().mutex);
  state().refuseRange = on;
}

bool waitForRefusedRanges(std::uint64_t count) {
  std::unique_lock lock(state().mutex);
  return state().changed.wait_for(lock, std::chrono::seconds(60), [&] { return state().refusedRanges >= count; });
}

void reset() {
  std::lock_guard lock(state().mutex);
  state().partAnswers = 0;
  state().refuseRange = false;
  state().refusedRanges = 0;
}

}  // namespace kel::test::overrides

using namespace kel::test::overrides;

extern "C" {

KL3_RESULT KelLib3CallCInterface_1(KL3_HANDLE iface, uint32_t command, uint32_t blockSize, void* block,
                                   KL3_HANDLE error) {
  static const auto next = real<decltype(&KelLib3CallCInterface_1)>("KelLib3CallCInterface_1");
  const KL3_RESULT r = next(iface, command, blockSize, block, error);
  if (command != KELLIB3_CMD_NEXT_PART || r != 0) return r;
  std::lock_guard lock(state().mutex);
  ++state().nextParts;
  if (state().partAnswers > 0) {
    --state().partAnswers;
    static_cast<KelLib3PartBlock*>(block)->nextPart = state().part;
  }
  return r;
}

KL3_RESULT KelLib3OptionGetScalarRange(KL3_HANDLE option, int32_t* minimum, int32_t* maximum, uint32_t unit,
                                       KL3_HANDLE error) {
  static const auto next = real<decltype(&KelLib3OptionGetScalarRange)>("KelLib3OptionGetScalarRange");
  const KL3_RESULT r = next(option, minimum, maximum, unit, error);
  {
    std::lock_guard lock(state().mutex);
    if (r != 0 || !state().refuseRange || !minimum) return r;
    *minimum = -1;
    ++state().refusedRanges;
  }
  state().changed.notify_all();
  return r;
}

}  // extern "C"
