// Waiting for a run of the graph to end. The camera signals the command's
// end event when it finishes its work, but a stream it ends for any other
// reason (a time-out, a refused command, a library error) only reaches the
// graph as a completion or an abort, so both are watched.
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "tools/session.h"

namespace kelorvo {

enum class StreamEnd {
  Signalled,  // the camera signalled the end event
  Completed,  // the stream ended without it
  Aborted,    // the graph reported an error
};

struct StreamOutcome {
  StreamEnd end = StreamEnd::Signalled;
  HRESULT code = S_OK;  // the abort's code
};

struct StreamWatch {
  HANDLE end = nullptr;
  // Asked once, on the first Ctrl+C (InterruptScope active).
  std::function<void()> stop;
  // Runs between waits, e.g. to redraw a progress bar; may be empty.
  std::function<void()> tick;
};

// Drops what earlier runs of the graph left queued (a recording's
// completion, say), so that a wait sees only its own run's events.
void dropQueuedEvents(CGraph& graph);

StreamOutcome waitForStream(Session& session, const StreamWatch& watch);

// Takes the graph's queued events; the first completion or abort among
// them, if any.
std::optional<StreamOutcome> takeStreamEnding(CGraph& graph);

// Why a run ended as it did: the filter's newest text, else the abort's
// code in words; empty when neither says anything.
std::string endingReason(Session& session, const StreamOutcome& outcome);

}  // namespace kelorvo
