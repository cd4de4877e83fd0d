#include "shell/settings_ui/DialogCamera.h"

#include "shell/app/ComErr.h"
#include "shell/app/LogStore.h"
#include "shell/graph/Graph.h"
#include "shell/settings/SettingsHost.h"

namespace SettingsUi {

ComPtr<ICamera2> HostCamera(std::string_view unit, int line) {
  ComPtr<ICamera2> camera;
  Sett::Host* host = Sett::Host::Current();
  if (!host) {
    LogError(unit, line, "Граф не создан");
    return camera;
  }
  if (!host->graph.GetCamera2(camera.put())) LogError(unit, line, host->graph.GetLastErrorText());
  return camera;
}

bool CameraCallOk(HRESULT hr, std::string_view unit, int line) {
  if (SUCCEEDED(hr)) return true;
  LogError(unit, line, COMERR::CError<long>(hr).text());
  return false;
}

}  // namespace SettingsUi
