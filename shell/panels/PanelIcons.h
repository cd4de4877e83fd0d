// The pictures of the mode panels' buttons, drawn here.
#pragma once
#include <QIcon>

namespace PanelIcons {
QIcon Record();
QIcon StopRecording();
}  // namespace PanelIcons
