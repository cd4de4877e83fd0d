#include "filter/processing/StPreviewSource.h"

#include <exception>

#include "filter/acquisition/settings_records.h"
#include "filter/acquisition/stream_source_notify.h"
#include "filter/hardware/lib3_error.h"
#include "platform/kernel/tick_count.h"

namespace Orvo {
namespace {
constexpr const char* kUnit = "StPreviewSource";
}  // namespace

StPreviewSource::StPreviewSource(Holder& holder, HWND notifyWindow) : StOrvoSource(holder, notifyWindow) {
  playback_.SetRange(Settings().save.firstFrame.load(), Settings().save.lastFrame.load());
}

void StPreviewSource::Seek(std::int64_t position) {
  playback_.Seek(static_cast<std::int32_t>(static_cast<std::uint32_t>(position)), plat::tickCount());
}

void StPreviewSource::SetRate(double rate) { playback_.SetRate(rate, plat::tickCount()); }

void StPreviewSource::Resume() { playback_.Resume(plat::tickCount()); }

bool StPreviewSource::createData(FrameBuffer& raw) {
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

bool StPreviewSource::Produce(FrameBuffer& raw) {
  const KL3_HANDLE err = ErrorHandle();
  const std::int32_t frame = playback_.Next(plat::tickCount());
  LIB3::Check(KelLib3OptionSetScalar(frameRange_, frame, 0, err), err, kUnit, __LINE__);
  LIB3::Check(KelLib3CallCInterface_0(inputControlB_, KELLIB3_CMD_OPEN_CYCLE, err), err, kUnit, __LINE__);
  const unsigned width = Header().Get(KELLIB3_KEY_WIDTH, kUnit);
  const unsigned height = Header().Get(KELLIB3_KEY_HEIGHT, kUnit);

  PartLoopRules rules;
  rules.lastReadyWaitMs = 1000;
  rules.yieldWhilePollingDma = true;
  rules.acceptRecordingState = false;
  rules.rereadStatus = false;
  const PartTransfer parts = Parts(kUnit);
  if (!TransferFrameParts(parts, rules, width, height).ready) {
    Post("KelLib3InDInterfaceQueryReady(...): sizeData == 0");
    return false;
  }
  TakePartFromContext(parts, 4, width, height);
  ConvertToOutput(width, height, raw);
  return true;
}

void StPreviewSource::Post(std::string_view text) const { PostNotifyText(NotifyWindow(), text); }

}  // namespace Orvo
