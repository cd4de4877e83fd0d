#include "shell/settings_ui/WhiteBalancePropertyDialog.h"

#include <QLabel>
#include <QSignalBlocker>

#include "shell/settings_ui/DialogCamera.h"
#include "shell/settings_ui/DluPlacer.h"

namespace {
constexpr const char* kUnit = ".\\WhiteBalancePropertyDialog";
constexpr int kGainMax = 255;
constexpr int kPage = 5;
constexpr const char* kChannelNames[] = {"R", "G", "B"};
constexpr int kChannelIds[] = {CWhiteBalancePropertyDialog::kRed, CWhiteBalancePropertyDialog::kGreen,
                               CWhiteBalancePropertyDialog::kBlue};
}  // namespace

using SettingsUi::CameraCallOk;

CWhiteBalancePropertyDialog::CWhiteBalancePropertyDialog()
    : CPropertyDialog(192, 99), camera_(SettingsUi::HostCamera(kUnit, __LINE__)) {
  supported_ = binding_.Initialise({});
}

CWhiteBalancePropertyDialog::~CWhiteBalancePropertyDialog() = default;

bool CWhiteBalancePropertyDialog::OnInitDialog() {
  buildControls();
  SetCaption(QString::fromStdString(binding_.caption));
  int colour = 0;
  if (!camera_ || !CameraCallOk(camera_->IsColorCamera(&colour), kUnit, __LINE__) || colour == 0) {
    MarkUnsupported();
    return true;
  }
  RefreshControls();
  return true;
}

void CWhiteBalancePropertyDialog::buildControls() {
  const DluPlacer at(GroupBox());
  enable_ = at(new QCheckBox("Включить"), kEnable, 10, 11, 60, 10);
  auto_ = at(new QRadioButton("Авто"), kAuto, 10, 24, 50, 10);
  manual_ = at(new QRadioButton("Регулировать"), kManual, 70, 24, 80, 10);
  for (std::size_t i = 0; i < gains_.size(); ++i) {
    const int y = 37 + 13 * static_cast<int>(i);
    at(new QLabel(kChannelNames[i]), 0, 10, y + 2, 8, 8);
    QSlider* slider = at(new QSlider(Qt::Horizontal), kChannelIds[i], 20, y, 160, 12);
    slider->setRange(0, kGainMax);
    slider->setPageStep(kPage);
    connect(slider, &QSlider::valueChanged, this, [this] {
      sendGains();
      storePositions();
    });
    gains_[i] = slider;
  }
  rggb_ = at(new QCheckBox("RGGB"), kRggb, 10, 80, 50, 10);
  load_ = at(new QPushButton("Загрузить"), kLoad, 120, 78, 60, 14);
  connect(enable_, &QCheckBox::toggled, this, [this] { onEnable(); });
  connect(auto_, &QRadioButton::clicked, this, [this] { onAuto(); });
  connect(manual_, &QRadioButton::clicked, this, [this] { onManual(); });
  connect(load_, &QPushButton::clicked, this, [this] { onLoad(); });
  connect(rggb_, &QCheckBox::toggled, this, [this](bool checked) {
    if (camera_) CameraCallOk(camera_->SetMonochrome(checked ? 1 : 0), kUnit, __LINE__);
  });
}

void CWhiteBalancePropertyDialog::RefreshControls() {
  if (!supported_) return;
  Sett::WB::Value v;
  binding_.value.Value(v);
  {
    const QSignalBlocker blockEnable(enable_);
    enable_->setChecked(v.enabled != 0);
    (v.automatic != 0 ? auto_ : manual_)->setChecked(true);
    const int positions[] = {v.red, v.green, v.blue};
    for (std::size_t i = 0; i < gains_.size(); ++i) {
      const QSignalBlocker blockSlider(gains_[i]);
      gains_[i]->setValue(positions[i]);
    }
    int monochrome = 0;
    if (CameraCallOk(camera_->GetMonochrome(&monochrome), kUnit, __LINE__)) {
      const QSignalBlocker blockRggb(rggb_);
      rggb_->setChecked(monochrome != 0);
    }
  }
  enableControls();
}

void CWhiteBalancePropertyDialog::enableControls() {
  if (!supported_) return;
  const bool on = enable_->isChecked();
  const bool manual = on && manual_->isChecked();
  auto_->setEnabled(on);
  manual_->setEnabled(on);
  for (QSlider* slider : gains_) slider->setEnabled(manual);
  load_->setEnabled(manual);
}

void CWhiteBalancePropertyDialog::onEnable() {
  CameraCallOk(camera_->SetWhiteBalance(enable_->isChecked() ? 1 : 0, auto_->isChecked() ? 1 : 0), kUnit,
               __LINE__);
  enableControls();
  storePositions();
}

void CWhiteBalancePropertyDialog::onAuto() {
  CameraCallOk(camera_->SetWhiteBalance(enable_->isChecked() ? 1 : 0, 1), kUnit, __LINE__);
  enableControls();
  storePositions();
}

void CWhiteBalancePropertyDialog::onManual() {
  CameraCallOk(camera_->SetWhiteBalance(enable_->isChecked() ? 1 : 0, 0), kUnit, __LINE__);
  enableControls();
  sendGains();
  storePositions();
}

void CWhiteBalancePropertyDialog::onLoad() {
  int measured[3] = {};
  if (!CameraCallOk(camera_->GetWhiteBalanceGains(&measured[0], &measured[1], &measured[2]), kUnit, __LINE__))
    return;
  for (std::size_t i = 0; i < gains_.size(); ++i) {
    const QSignalBlocker block(gains_[i]);
    gains_[i]->setValue(kGainMax - measured[i]);
  }
  CameraCallOk(camera_->SetWhiteBalanceGains(measured[0], measured[1], measured[2]), kUnit, __LINE__);
  storePositions();
}

void CWhiteBalancePropertyDialog::sendGains() {
  CameraCallOk(camera_->SetWhiteBalanceGains(kGainMax - gains_[0]->value(), kGainMax - gains_[1]->value(),
                                             kGainMax - gains_[2]->value()),
               kUnit, __LINE__);
}

void CWhiteBalancePropertyDialog::storePositions() {
  binding_.value.SetValue({.enabled = enable_->isChecked() ? 1 : 0,
                           .automatic = auto_->isChecked() ? 1 : 0,
                           .red = gains_[0]->value(),
                           .green = gains_[1]->value(),
                           .blue = gains_[2]->value()});
}
