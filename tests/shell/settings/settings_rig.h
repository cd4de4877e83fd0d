// A created graph over the virtual camera with a settings host installed, as
// the application has it, the log emptied and message boxes recorded.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "shell/graph/Graph.h"
#include "shell/settings/SettingsHost.h"
#include "tests/shell/shell_host.h"

namespace kel::test {

using CameraVars = std::vector<std::pair<std::string, std::string>>;

class SettingsRig {
 public:
  explicit SettingsRig(CameraVars vars = {});
  ~SettingsRig();
  SettingsRig(const SettingsRig&) = delete;
  SettingsRig& operator=(const SettingsRig&) = delete;

  // What the camera holds now, read through a property of its own.
  std::int32_t cameraScalar(std::int32_t id, std::int32_t index, std::int32_t unit);
  std::int32_t cameraEnum(std::int32_t id);
  void setCameraScalar(std::int32_t id, std::int32_t index, std::int32_t value, std::int32_t unit);

  // The log lines written since the rig was made.
  static std::vector<std::string> log();

  ShellHost shell;
  BoxLog boxes;
  CGraph graph;
  Sett::SettingStore store;
  Sett::FilmMarks marks;
  std::optional<Sett::Host> host;
};

// The name the camera gives an option (UTF-8).
std::string optionName(CGraph& graph, std::int32_t id);

}  // namespace kel::test
