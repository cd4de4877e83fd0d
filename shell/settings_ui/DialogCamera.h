// The capture filter's camera interface as the picture and film dialogs
// reach it: through the installed settings host's graph. A failure is
// logged with the caller's place, never dropped.
#pragma once
#include <string_view>

#include "platform/com/unknown.h"
#include "shared/camera_interfaces.h"

namespace SettingsUi {

// The camera of the host's graph; null (and the graph's text logged) when
// there is no host or the graph has no camera.
ComPtr<ICamera2> HostCamera(std::string_view unit, int line);

// True for a successful HRESULT; a failure is logged with its text.
bool CameraCallOk(HRESULT hr, std::string_view unit, int line);

}  // namespace SettingsUi
