// Settings as an operator leaves them in the settings panels. The panels
// write them to the camera, the store and the film marks when a mode
// switch takes them down, over anything set behind their back.
#pragma once
#include "platform/win/types.h"

class CGraph;
class CMainFrame;

namespace kel::test {

// Stop event and number of frames to input, in set-up mode.
void leaveInputSettings(CMainFrame& frame, LONG stopEvent, LONG frames);

// Records a film of `frames` frames from set-up mode as an operator does
// (stop after the frame count, F6) and waits for preview mode; `first` and
// `last` are the film's first and last frame.
void recordFilm(CMainFrame& frame, CGraph& graph, LONG frames, LONG& first, LONG& last, int waitMs);

// The fragment to save, typed into the fragment dialog in preview mode.
void leaveFragment(CMainFrame& frame, LONG first, LONG last);

}  // namespace kel::test
