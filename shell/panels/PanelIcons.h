// The pictures of the mode panels' buttons, drawn here.
#pragma once
#include <QIcon>

namespace PanelIcons {
QIcon Record();
QIcon StopRecording();
// The player's buttons, in their order from "to the start" to "to the end".
QIcon ToStart();
QIcon FrameBack();
QIcon PlayBack();
QIcon StopPlaying();
QIcon PlayForward();
QIcon FrameForward();
QIcon ToEnd();
}  // namespace PanelIcons
