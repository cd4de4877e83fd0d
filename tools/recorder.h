// Recording a film into the grabber's memory, as the recorder panel does:
// the input graph with the frames to record, an end event, run, wait.
#pragma once
#include "tools/session.h"

namespace kelorvo {

// Film frames, both ends included; -1 when there is no film.
struct FrameRange {
  LONG first = -1;
  LONG last = -1;
  bool empty() const { return first < 0 || last < 0; }
  LONG frames() const { return empty() ? 0 : last - first + 1; }
};

// Records `frames` frames; Ctrl+C ends the recording early, like the stop
// button. False with the reason printed on failure; throws
// std::invalid_argument for more frames than the memory holds and COMERR
// errors for a refused setting.
bool recordFilm(Session& session, long frames, FrameRange& range);

// The film in the grabber's memory: the frame position option's range,
// empty when the memory is set up for the live picture (as it is from the
// moment the capture filter opens the camera until a recording). False
// (with the graph's error text) when the options are missing; a refused
// read throws COMERR errors.
bool readRecordedRange(CGraph& graph, FrameRange& range);

}  // namespace kelorvo
