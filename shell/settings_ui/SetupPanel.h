// What the preset commands need of the set-up settings panel: its window,
// which takes WM_APPLY_PRESET (sent, lParam = the preset's name as a
// NUL-terminated UTF-8 text), and its option bindings.
#pragma once
#include "platform/win/types.h"
#include "shell/settings/PresetItems.h"

class ISetupPanel {
 public:
  virtual ~ISetupPanel() = default;
  virtual HWND hwnd() const = 0;
  virtual Sett::PanelBindings Bindings() = 0;
};
