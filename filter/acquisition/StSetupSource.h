// The stream source of set-up mode: the live picture. Each createData runs
// one complete frame cycle on the grabber under the global frame lock, so an
// option write from the application's thread waits for the end of the cycle.
//
// Contract with the pin: createData returns false when the stream is to end
// (running flag clear, the grabber busy for more than 5000 ms, the input
// never ready). A refused library call leaves createData as LIB3::CError
// with the global frame lock released; the pin posts its text to the notify
// window and ends the stream. Converter errors (std::invalid_argument,
// std::logic_error) escape the same way.
#pragma once

#include "filter/acquisition/StOrvoSource.h"

namespace Orvo {

class StSetupSource final : public StOrvoSource {
 public:
  StSetupSource(Holder& holder, HWND notifyWindow) : StOrvoSource(holder, notifyWindow) {}

  bool createData(FrameBuffer& raw) override;

 private:
  // Waits for an idle grabber and a valid frame range, then transfers the
  // four parts. False when the stream is to end.
  bool RunCycle(std::uint32_t& lastState, unsigned& width, unsigned& height);
  // Posts the time-out text, lets go of the lock and shows the box.
  void ReportTimeout(std::uint32_t state, int line, std::unique_lock<std::recursive_mutex>& lock);
  // Writes the four DMA buffers to "dump0.bin" ... "dump3.bin".
  void Dump();
};

}  // namespace Orvo
