#include "shell/settings_ui/ShiftLevelPropertyDialog.h"

#include <QLineEdit>
#include <QSignalBlocker>
#include <algorithm>

#include "shell/settings_ui/DialogCamera.h"
#include "shell/settings_ui/DluPlacer.h"

namespace {
constexpr const char* kUnit = ".\\ShiftLevelPropertyDialog";
}  // namespace

using SettingsUi::CameraCallOk;

CShiftLevelPropertyDialog::CShiftLevelPropertyDialog()
    : CPropertyDialog(192, 36), camera_(SettingsUi::HostCamera(kUnit, __LINE__)) {
  supported_ = static_cast<bool>(camera_);
}

CShiftLevelPropertyDialog::~CShiftLevelPropertyDialog() = default;

bool CShiftLevelPropertyDialog::OnInitDialog() {
  const DluPlacer at(GroupBox());
  spin_ = at(new QSpinBox, kSpin, 10, 13, 40, 12);
  // The spin box's own edit stands for the template's buddy edit.
  if (auto* edit = spin_->findChild<QLineEdit*>()) edit->setObjectName(QString::number(kEdit));
  spin_->setRange(kMinLevel, kMaxLevel);
  spin_->setKeyboardTracking(false);
  connect(spin_, &QSpinBox::valueChanged, this, [this](int position) { onSpin(position); });
  SetCaption("Цифровое усиление");
  if (!supported_) {
    MarkUnsupported();
    return true;
  }
  RefreshControls();
  return true;
}

void CShiftLevelPropertyDialog::RefreshControls() {
  int gain = 0;
  if (!supported_ || !CameraCallOk(camera_->GetDigitalGain(&gain), kUnit, __LINE__)) return;
  level_ = std::clamp(gain, kMinLevel, kMaxLevel);
  const QSignalBlocker block(spin_);
  spin_->setValue(level_);
}

void CShiftLevelPropertyDialog::onSpin(int position) {
  const int change = position - level_;
  level_ = std::clamp(level_ + change, kMinLevel, kMaxLevel);
  CameraCallOk(camera_->SetDigitalGain(level_), kUnit, __LINE__);
}
