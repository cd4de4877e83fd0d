#include "shell/settings_ui/SaveRunState.h"

#include <filesystem>

namespace SaveUi {

RunState& State() {
  static RunState state;
  return state;
}

std::string AutoSaveFileName(const std::string& folder, const std::tm& when) {
  char stamp[32];
  const std::size_t length = std::strftime(stamp, sizeof stamp, "%Y_%m_%d_%H_%M", &when);
  return folder + static_cast<char>(std::filesystem::path::preferred_separator) + std::string(stamp, length);
}

}  // namespace SaveUi
