#include "filter/acquisition/StSetupSource.h"

#include <cstdio>
#include <memory>
#include <mutex>
#include <string>

#include "filter/acquisition/global_frame_lock.h"
#include "filter/acquisition/settings_records.h"
#include "filter/acquisition/stream_source_notify.h"
#include "filter/hardware/lib3_error.h"
#include "platform/kernel/tick_count.h"
#include "platform/win/message_box.h"

namespace Orvo {
namespace {

constexpr const char* kUnit = "StSetupSource";
constexpr std::uint32_t kCycleStartTimeoutMs = 5000;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

}  // namespace

bool StSetupSource::createData(FrameBuffer& raw) {
  std::unique_lock lock(GlobalFrameLock());
  const KL3_HANDLE err = ErrorHandle();
  LIB3::Check(KelLib3CallCInterface_0(inputControlB_, KELLIB3_CMD_OPEN_CYCLE, err), err, kUnit, __LINE__);
  const std::uint32_t start = plat::tickCount();

  std::uint32_t lastState = 0;
  unsigned width = 0, height = 0;
  for (;;) {
    if (!Running()) return false;
    ReadState(inputControlA_, kUnit);
    const std::uint32_t state = ReadState(inputControlB_, kUnit);
    if (state != KELLIB3_STATE_IDLE) {
      if (plat::ticksSince(start) > kCycleStartTimeoutMs) {
        ReportTimeout(state, __LINE__, lock);
        return false;
      }
      continue;
    }
    if (!Running()) return false;
    std::int32_t minimum = 0, maximum = 0;
    LIB3::Check(KelLib3OptionGetScalarRange(frameRange_, &minimum, &maximum, 0, err), err, kUnit, __LINE__);
    if (minimum < 0 || maximum < 0) continue;

    LIB3::Check(KelLib3OptionSetScalar(frameRange_, Settings().visibleFramePeriod.load(), 0, err), err, kUnit,
                __LINE__);
    RereadHeaderType(kUnit);
    width = Header().Get(KELLIB3_KEY_WIDTH, kUnit);
    height = Header().Get(KELLIB3_KEY_HEIGHT, kUnit);

    PartLoopRules rules;
    rules.stateTimeoutText = "\n***\nStSetupSource::createData(...) GetTickCount() >= time";
    const PartLoopOutcome outcome = TransferFrameParts(Parts(kUnit), rules, width, height);
    if (!outcome.ready) return false;
    lastState = outcome.lastState;
    break;
  }

  if (!Paused() && lastState == KELLIB3_STATE_IDLE)
    LIB3::Check(KelLib3CallCInterface_0(inputControlB_, KELLIB3_CMD_CLOSE_CYCLE, err), err, kUnit, __LINE__);
  TakePartFromContext(Parts(kUnit), 4, width, height);
  if (Settings().dumpRequest.exchange(0) != 0) Dump();
  ConvertToOutput(width, height, raw);
  return true;
}

void StSetupSource::ReportTimeout(std::uint32_t state, int line, std::unique_lock<std::recursive_mutex>& lock) {
  const std::string text = "\n***\nStSetupSource::createData(...) Transfer control status: " +
                           std::to_string(state) + "\nFile: " + kUnit + "\nLine: " + std::to_string(line);
  PostNotifyText(NotifyWindow(), text);
  // The box waits for the operator: an option write on the UI thread must
  // not wait with it, so the frame lock goes first.
  lock.unlock();
  plat::MessageBox(text, "TIMEOUT", MB_OK | MB_ICONERROR | MB_SYSTEMMODAL);
}

void StSetupSource::Dump() {
  const std::uint64_t size = DmaBufferSize();
  const auto low = static_cast<std::uint32_t>(size);
  const auto high = static_cast<std::uint32_t>(size >> 32);
  const PartTransfer parts = Parts(kUnit);
  for (int i = 0; i < 4; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "dump%d.bin", i);
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(name, "wb"));
    if (!file) {
      PostNotifyText(NotifyWindow(), "DUMP: Ошибка открытия фйла.");
      continue;
    }
    const std::size_t written = std::fwrite(parts.contexts[i]->Buffer(), 1, low, file.get());
    // Buffered bytes that cannot reach the disk show up only when the file closes.
    const bool closed = std::fclose(file.release()) == 0;
    if (written < low || !closed || high != 0) PostNotifyText(NotifyWindow(), "DUMP: Ошибка записи.");
  }
}

}  // namespace Orvo
