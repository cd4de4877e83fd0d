#include "shell/settings_ui/SettingsUiState.h"

namespace SettingsUi {

RunState& State() {
  static RunState state;
  return state;
}

}  // namespace SettingsUi
