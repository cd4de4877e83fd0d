// The stream source of input mode. The grabber records the film into its own
// memory; while it records, each createData transfers the newest recorded
// frame. When the grabber reports that recording has finished, the end event
// is signalled (once) and the stream ends.
//
// createData lets nothing escape: library and converter errors are posted to
// the notify window and end the stream. It does not take the global frame lock.
#pragma once

#include <atomic>
#include <cstdint>
#include <string_view>

#include "filter/acquisition/StOrvoSource.h"
#include "platform/kernel/handle.h"

namespace Orvo {

class StRecordSource final : public StOrvoSource {
 public:
  StRecordSource(Holder& holder, HWND notifyWindow) : StOrvoSource(holder, notifyWindow) {}

  // Set by the pin on the streaming thread when streaming starts.
  void SetEndEvent(HANDLE event) { endEvent_ = event; }
  HANDLE EndEvent() const { return endEvent_.load(); }

  bool createData(FrameBuffer& raw) override;

 private:
  bool Produce(FrameBuffer& raw);
  // False when the stream is to end: recording finished or the time-out.
  bool WaitForFrames();
  bool TriggerAwaited();
  void Post(std::string_view text) const;

  std::atomic<HANDLE> endEvent_{nullptr};
};

}  // namespace Orvo
