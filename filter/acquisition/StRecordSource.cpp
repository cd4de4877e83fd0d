#include "filter/acquisition/StRecordSource.h"

#include <exception>
#include <string>

#include "filter/acquisition/stream_source_notify.h"
#include "filter/hardware/lib3_error.h"
#include "platform/kernel/event_handles.h"
#include "platform/kernel/tick_count.h"

namespace Orvo {
namespace {

constexpr const char* kUnit = "StRecordSource";
constexpr std::uint32_t kStartEvent = 0x400004;
constexpr std::int32_t kStartExternalTrigger = 5;
constexpr std::uint32_t kWaitTimeoutMs = 5000;

}  // namespace

bool StRecordSource::createData(FrameBuffer& raw) {
  try {
    return Produce(raw);
  } catch (const LIB3::CError& e) {
    Post(e.Text());
  } catch (const std::exception& e) {
    // A frame the converter cannot take ends the stream the same way.
    Post(e.what());
  }
  return false;
}

bool StRecordSource::Produce(FrameBuffer& raw) {
  if (!WaitForFrames()) return false;
  RereadHeaderType(kUnit);
  const unsigned width = Header().Get(KELLIB3_KEY_WIDTH, kUnit);
  const unsigned height = Header().Get(KELLIB3_KEY_HEIGHT, kUnit);
  const PartTransfer parts = Parts(kUnit);
  const PartLoopOutcome outcome = TransferFrameParts(parts, PartLoopRules{}, width, height);
  if (!outcome.ready) {
    Post("KelLib3InDInterfaceQueryReady(...): sizeData == 0");
    return false;
  }
  TakePartFromContext(parts, 4, width, height);
  ConvertToOutput(width, height, raw);
  return true;
}

bool StRecordSource::WaitForFrames() {
  const KL3_HANDLE err = ErrorHandle();
  std::uint32_t start = plat::tickCount();
  for (;;) {
    if (!Running()) return false;
    ReadState(inputControlA_, kUnit);
    const std::uint32_t state = ReadState(inputControlB_, kUnit);
    if (state == KELLIB3_STATE_IDLE) {
      // Recording has finished: tell the shell once.
      if (const HANDLE event = endEvent_.exchange(nullptr)) SetEvent(event);
      return false;
    }
    if (state != KELLIB3_STATE_RECORDING) {
      if (plat::ticksSince(start) <= kWaitTimeoutMs) continue;
      if (TriggerAwaited()) {
        // An external start trigger may take any time: wait afresh.
        start = plat::tickCount();
        continue;
      }
      Post("min < 0 || max < 0 & Time out \nTransfer control status: " + std::to_string(state) + "\nFile: " + kUnit +
           "\nLine: " + std::to_string(__LINE__));
      return false;
    }
    std::int32_t minimum = 0, maximum = 0;
    LIB3::Check(KelLib3OptionGetScalarRange(frameRange_, &minimum, &maximum, 0, err), err, kUnit, __LINE__);
    if (minimum < 0 || maximum < 0) continue;
    // The newest recorded frame is the one to show.
    LIB3::Check(KelLib3OptionSetScalar(frameRange_, maximum, 0, err), err, kUnit, __LINE__);
    LIB3::Check(KelLib3CallCInterface_0(inputControlB_, KELLIB3_CMD_OPEN_CYCLE, err), err, kUnit, __LINE__);
    return true;
  }
}

bool StRecordSource::TriggerAwaited() {
  const KL3_HANDLE err = ErrorHandle();
  KL3_HANDLE option = 0;
  LIB3::Check(KelLib3SystemGetCInterface(SystemHandle(), kStartEvent, 0, &option, err), err, kUnit, __LINE__);
  std::int32_t value = 0;
  LIB3::Check(KelLib3OptionGetEnumVal(option, &value, err), err, kUnit, __LINE__);
  return value == kStartExternalTrigger;
}

void StRecordSource::Post(std::string_view text) const { PostNotifyText(NotifyWindow(), text); }

}  // namespace Orvo
