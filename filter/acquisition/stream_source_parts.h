// The four-part frame transfer every stream source runs inside an open frame
// cycle: ask the input control for the next part, wait until the input is
// ready, move the part by DMA into its context while the frame converter
// takes the previous one, then wait for the grabber's state. The sources
// differ in a few details, which the rules name; everything else is shared.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string_view>

#include "filter/acquisition/DmaContext.h"
#include "filter/acquisition/FrameConverter.h"
#include "filter/hardware/kellib3.h"
#include "platform/win/types.h"

namespace Orvo {

// The hardware a transfer works on. Library errors are thrown as
// LIB3::CError naming `unit`.
struct PartTransfer {
  KL3_HANDLE input = 0;
  KL3_HANDLE control = 0;  // input control B: parts and status
  KL3_HANDLE error = 0;
  // The camera's converter the parts are taken into.
  FrameConverter* converter = nullptr;
  std::array<const DmaContext*, 4> contexts{};
  std::uint64_t dmaSize = 0;
  std::atomic<std::int32_t>* orientation = nullptr;
  HWND notifyWindow = nullptr;
  std::string_view unit;
};

struct PartLoopRules {
  // Readiness is queried, then again after a 2000 ms wait, then once more:
  // at once, or after a further wait of this many ms when not 0.
  std::uint32_t lastReadyWaitMs = 0;
  // Give the processor away between polls of the DMA end.
  bool yieldWhilePollingDma = false;
  // The state that ends the wait after each step: 3 or 7, or 3 alone.
  bool acceptRecordingState = true;
  // Read the status block once more after that wait.
  bool rereadStatus = true;
  // Posted to the notify window when the state wait runs out (empty: silent).
  std::string_view stateTimeoutText;
};

struct PartLoopOutcome {
  // False when the input never became ready for a part.
  bool ready = true;
  // The state read last (0 before any read).
  std::uint32_t lastState = 0;
};

// Runs the part loop for a W x H frame. Parts 1 to 3 reach the converter
// while their successor transfers; part 4 is left for the caller.
PartLoopOutcome TransferFrameParts(const PartTransfer& target, const PartLoopRules& rules, unsigned width,
                                   unsigned height);

// Hands the buffer of context `part` (1 to 4) to the target's frame converter.
void TakePartFromContext(const PartTransfer& target, int part, unsigned width, unsigned height);

// State word of the status block read from `control`; throws LIB3::CError.
std::uint32_t ReadStatusState(KL3_HANDLE control, KL3_HANDLE error, std::string_view unit);

}  // namespace Orvo
