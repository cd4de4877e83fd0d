// The input settings as an operator leaves them in the set-up panel: the
// panel writes them to the camera and keeps them for the recorder when a
// mode switch takes it down.
#pragma once
#include "platform/win/types.h"

class CMainFrame;

namespace kel::test {

// Stop event and number of frames to input; the frame must be in set-up
// mode with its panel built.
void leaveInputSettings(CMainFrame& frame, LONG stopEvent, LONG frames);

}  // namespace kel::test
