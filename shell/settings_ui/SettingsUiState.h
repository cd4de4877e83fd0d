// What the settings panels share for the whole run: the windows the
// property dialogs tell about changes, and two run-wide flags. The main
// frame fills in the windows when it creates them and clears them when it
// goes; a dialog with no window to tell posts nothing.
#pragma once
#include "platform/win/types.h"

namespace SettingsUi {

struct RunState {
  HWND mainFrame = nullptr;  // WM_PERIOD_CHANGED, WM_WINDOW_CHANGED
  HWND logPane = nullptr;    // WM_RESTART_GRAPH
  // Whether the camera offers the image intensifier's voltage (0x400022);
  // set when the set-up panel builds that option's dialog.
  bool imageIntensifierPresent = false;
  // "Центрировать" of the input-window dialogs: one choice for every such
  // dialog.
  bool centreWindow = false;
};

// The run's state (UI thread only).
RunState& State();

}  // namespace SettingsUi
