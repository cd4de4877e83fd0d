#include "shell/settings_ui/GammaCorrectionPropertyDialog.h"

#include <QSignalBlocker>

#include "shell/app/LogStore.h"
#include "shell/graph/Graph.h"
#include "shell/settings/SettingsHost.h"
#include "shell/settings_ui/DialogCamera.h"
#include "shell/settings_ui/DluPlacer.h"

namespace {
constexpr const char* kUnit = ".\\GammaCorrectionPropertyDialog";
}  // namespace

using SettingsUi::CameraCallOk;

CGammaCorrectionPropertyDialog::CGammaCorrectionPropertyDialog()
    : CPropertyDialog(192, 36), camera_(SettingsUi::HostCamera(kUnit, __LINE__)) {
  supported_ = static_cast<bool>(camera_);
}

CGammaCorrectionPropertyDialog::~CGammaCorrectionPropertyDialog() = default;

bool CGammaCorrectionPropertyDialog::OnInitDialog() {
  const DluPlacer at(GroupBox());
  enable_ = at(new QCheckBox("Включить коррекцию"), kEnable, 10, 14, 150, 10);
  connect(enable_, &QCheckBox::clicked, this, [this](bool checked) { onClicked(checked); });
  SetCaption("Гамма коррекция");
  if (!supported_) {
    MarkUnsupported();
    return true;
  }
  RefreshControls();
  return true;
}

void CGammaCorrectionPropertyDialog::RefreshControls() {
  int gamma = 0;
  if (!supported_ || !CameraCallOk(camera_->GetGamma(&gamma), kUnit, __LINE__)) return;
  const QSignalBlocker block(enable_);
  enable_->setChecked(gamma != 0);
}

void CGammaCorrectionPropertyDialog::onClicked(bool checked) {
  if (!CameraCallOk(camera_->SetGamma(checked ? 1 : 0), kUnit, __LINE__)) return;
  // The filter takes the new curve when its stream starts again.
  Sett::Host* host = Sett::Host::Current();
  if (!host) return;
  if (!host->graph.Stop()) LogError(kUnit, __LINE__, host->graph.GetLastErrorText());
  if (!host->graph.Run()) LogError(kUnit, __LINE__, host->graph.GetLastErrorText());
}
