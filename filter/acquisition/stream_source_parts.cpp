#include "filter/acquisition/stream_source_parts.h"

#include <span>
#include <thread>

#include "filter/acquisition/FrameConverter.h"
#include "filter/acquisition/stream_source_notify.h"
#include "filter/hardware/lib3_error.h"
#include "platform/kernel/tick_count.h"

namespace Orvo {
namespace {

constexpr std::uint32_t kAttributeOrientation = 0x400004;
constexpr std::uint32_t kReadyWaitMs = 2000;
constexpr std::uint32_t kDmaTimeoutMs = 2000;
constexpr std::uint32_t kStateTimeoutMs = 2000;

class PartLoop {
 public:
  PartLoop(const PartTransfer& t, const PartLoopRules& r, unsigned w, unsigned h)
      : t_(t), rules_(r), width_(w), height_(h) {}

  PartLoopOutcome Run() {
    PartLoopOutcome out;
    // 64 bits: a part index of all ones must still end the loop.
    std::int64_t p = 0;
    while (p < 5) {
      if (p >= 0 && p <= 3) p = NextPart();
      if (p >= 1 && p <= 4) {
        if (!WaitReady()) {
          out.ready = false;
          return out;
        }
        Transfer(static_cast<int>(p));
      }
      out.lastState = WaitForState();
      if (rules_.rereadStatus) out.lastState = ReadStatusState(t_.control, t_.error, t_.unit);
      p = p + 1;
    }
    return out;
  }

 private:
  void Check(KL3_RESULT r, int line) const { LIB3::Check(r, t_.error, t_.unit, line); }

  std::uint32_t NextPart() {
    KelLib3PartBlock block{};
    Check(KelLib3CallCInterface_1(t_.control, KELLIB3_CMD_NEXT_PART, sizeof block, &block, t_.error), __LINE__);
    return block.nextPart;
  }

  bool QueryReady() {
    std::uint32_t bytes = 0, frames = 0;
    Check(KelLib3InDInterfaceQueryReady(t_.input, &bytes, &frames, t_.error), __LINE__);
    return bytes != 0 || frames != 0;
  }

  bool WaitReady() {
    if (QueryReady()) return true;
    Check(KelLib3InDInterfaceWait(t_.input, kReadyWaitMs, t_.error), __LINE__);
    if (QueryReady()) return true;
    if (rules_.lastReadyWaitMs != 0) Check(KelLib3InDInterfaceWait(t_.input, rules_.lastReadyWaitMs, t_.error), __LINE__);
    return QueryReady();
  }

  void Transfer(int part) {
    Check(KelLib3InDInterfaceBeginBlock(t_.input, t_.error), __LINE__);
    // The attribute is informative: a frame without one keeps the last value.
    std::int32_t orientation = t_.orientation->load();
    KelLib3InDInterfaceGetAddOnAtributeType(t_.input, kAttributeOrientation, 0, &orientation, t_.error);
    t_.orientation->store(orientation);
    Check(KelLib3InDInterfaceStartDma(t_.input, t_.contexts[part - 1]->Handle(), t_.error), __LINE__);
    // The previous part is converted while this one moves.
    if (part >= 2) TakePartFromContext(t_, part - 1, width_, height_);
    const std::uint32_t start = plat::tickCount();
    for (;;) {
      std::uint32_t done = 0;
      Check(KelLib3InDInterfaceQueryDmaEnd(t_.input, &done, t_.error), __LINE__);
      // A transfer that outlasts the limit is not an error: the cycle goes on.
      if (done != 0 || plat::ticksSince(start) >= kDmaTimeoutMs) break;
      if (rules_.yieldWhilePollingDma) std::this_thread::yield();
    }
    Check(KelLib3InDInterfaceEndBlock(t_.input, t_.error), __LINE__);
  }

  std::uint32_t WaitForState() {
    const std::uint32_t start = plat::tickCount();
    for (;;) {
      const std::uint32_t state = ReadStatusState(t_.control, t_.error, t_.unit);
      if (state == KELLIB3_STATE_IDLE || (rules_.acceptRecordingState && state == KELLIB3_STATE_RECORDING))
        return state;
      if (plat::ticksSince(start) >= kStateTimeoutMs) {
        if (!rules_.stateTimeoutText.empty()) PostNotifyText(t_.notifyWindow, rules_.stateTimeoutText);
        return state;
      }
    }
  }

  const PartTransfer& t_;
  const PartLoopRules& rules_;
  unsigned width_;
  unsigned height_;
};

}  // namespace

PartLoopOutcome TransferFrameParts(const PartTransfer& target, const PartLoopRules& rules, unsigned width,
                                   unsigned height) {
  return PartLoop(target, rules, width, height).Run();
}

void TakePartFromContext(const PartTransfer& target, int part, unsigned width, unsigned height) {
  const DmaContext& context = *target.contexts[part - 1];
  // Only the low word of the size counts, as for every DMA buffer here.
  const std::size_t bytes = static_cast<std::uint32_t>(target.dmaSize);
  target.converter->TakePart(part, width, height,
                       std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(context.Buffer()), bytes));
}

std::uint32_t ReadStatusState(KL3_HANDLE control, KL3_HANDLE error, std::string_view unit) {
  KelLib3StatusBlock status{};
  LIB3::Check(KelLib3CallCInterface_1(control, KELLIB3_CMD_READ_STATUS, sizeof status, &status, error), error, unit,
              __LINE__);
  return status.state;
}

}  // namespace Orvo
