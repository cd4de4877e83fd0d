// Recording a film into the grabber's memory, as the recorder panel does:
// the input graph with the frames to record, an end event, run, wait.
#pragma once
#include "tools/session.h"

namespace kelorvo {

struct FrameRange {
  LONG first = -1;
  LONG last = -1;
};

// Records `frames` frames; Ctrl+C ends the recording early, like the stop
// button. False with the reason printed on failure.
bool recordFilm(Session& session, long frames, FrameRange& range);

}  // namespace kelorvo
