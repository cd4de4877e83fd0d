#include "shell/settings_ui/ContrastPropertyDialog.h"

#include <QLabel>
#include <QSignalBlocker>

#include "shell/settings_ui/DialogCamera.h"
#include "shell/settings_ui/DluPlacer.h"

namespace {
constexpr const char* kUnit = ".\\ContrastPropertyDialog";
constexpr int kLevelMax = 255;
}  // namespace

using SettingsUi::CameraCallOk;

CContrastPropertyDialog::CContrastPropertyDialog()
    : CPropertyDialog(192, 48), camera_(SettingsUi::HostCamera(kUnit, __LINE__)) {
  supported_ = static_cast<bool>(camera_);
}

CContrastPropertyDialog::~CContrastPropertyDialog() = default;

bool CContrastPropertyDialog::OnInitDialog() {
  const DluPlacer at(GroupBox());
  auto* blackLabel = at(new QLabel("&Уровень черного"), 0, 8, 13, 76, 8);
  black_ = at(new QSlider(Qt::Horizontal), kBlack, 86, 10, 96, 14);
  auto* whiteLabel = at(new QLabel("&Уровень белого"), 0, 8, 29, 76, 8);
  white_ = at(new QSlider(Qt::Horizontal), kWhite, 86, 26, 96, 14);
  blackLabel->setBuddy(black_);
  whiteLabel->setBuddy(white_);
  for (QSlider* slider : {black_, white_}) slider->setRange(0, kLevelMax);
  connect(black_, &QSlider::valueChanged, this, [this] { onMoved(true); });
  connect(white_, &QSlider::valueChanged, this, [this] { onMoved(false); });
  SetCaption("Контрастность");
  if (!supported_) {
    MarkUnsupported();
    return true;
  }
  RefreshControls();
  return true;
}

void CContrastPropertyDialog::RefreshControls() {
  int black = 0, white = 0;
  if (!supported_ || !CameraCallOk(camera_->GetLevels(&black, &white), kUnit, __LINE__)) return;
  const QSignalBlocker blockBlack(black_), blockWhite(white_);
  black_->setValue(black);
  white_->setValue(white);
}

void CContrastPropertyDialog::onMoved(bool blackMoved) {
  int black = black_->value();
  int white = white_->value();
  if (black >= white) {
    // The moved slider pushes the other one; at the end of the range the
    // moved one gives way, and the other one takes the end so that the
    // two still do not cross.
    if (blackMoved) {
      if (black + 1 > white_->maximum()) {
        white = white_->maximum();
        black = white - 1;
      } else {
        white = black + 1;
      }
    } else {
      if (white - 1 < black_->minimum()) {
        black = black_->minimum();
        white = black + 1;
      } else {
        black = white - 1;
      }
    }
  }
  {
    const QSignalBlocker blockBlack(black_), blockWhite(white_);
    black_->setValue(black);
    white_->setValue(white);
  }
  CameraCallOk(camera_->SetLevels(black, white), kUnit, __LINE__);
}
