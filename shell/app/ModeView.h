// What the main frame needs of the view in the mode panel's cell: a window
// handle, to which it forwards WM_TOGGLE_RECORDING when the space bar is
// typed in the camera view or the log.
#pragma once
#include "platform/win/types.h"

class CModeView {
 public:
  virtual ~CModeView() = default;
  virtual HWND hwnd() const = 0;
};
