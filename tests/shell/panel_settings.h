// Settings as an operator leaves them in the settings panels. The panels
// write them to the camera, the store and the film marks when a mode
// switch takes them down, over anything set behind their back.
#pragma once
#include "platform/win/types.h"

class CMainFrame;

namespace kel::test {

// Stop event and number of frames to input, in set-up mode.
void leaveInputSettings(CMainFrame& frame, LONG stopEvent, LONG frames);

// The fragment to save, typed into the fragment dialog in preview mode.
void leaveFragment(CMainFrame& frame, LONG first, LONG last);

}  // namespace kel::test
