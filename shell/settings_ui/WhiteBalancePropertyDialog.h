// The white balance of a colour camera: on/off, automatic or manual, the
// three manual gains as sliders (a slider shows 255 minus the gain), the
// RGGB choice and loading the gains the camera measured. The last state of
// the run comes back from the setting store.
#pragma once
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <array>

#include "platform/com/unknown.h"
#include "shared/camera_interfaces.h"
#include "shell/settings/RecordValues.h"
#include "shell/settings/SettingBinding.h"
#include "shell/settings_ui/PropertyDialog.h"

class CWhiteBalancePropertyDialog : public CPropertyDialog {
  Q_OBJECT
 public:
  static constexpr int kEnable = 1158;
  static constexpr int kAuto = 1159;
  static constexpr int kManual = 1160;
  static constexpr int kRed = 1161;
  static constexpr int kGreen = 1162;
  static constexpr int kBlue = 1163;
  static constexpr int kRggb = 1186;
  static constexpr int kLoad = 1165;

  CWhiteBalancePropertyDialog();
  ~CWhiteBalancePropertyDialog() override;

  void RefreshControls() override;

 protected:
  bool OnInitDialog() override;

 private:
  void buildControls();
  void enableControls();
  void onEnable();
  void onAuto();
  void onManual();
  void onLoad();
  void sendGains();
  // Keeps the control positions in the value.
  void storePositions();

  Sett::SettingBinding<Sett::WBValue> binding_{0, 0, "Баланс белого", Sett::ApplyOnRelease};
  ComPtr<ICamera2> camera_;
  QCheckBox* enable_ = nullptr;
  QRadioButton* auto_ = nullptr;
  QRadioButton* manual_ = nullptr;
  std::array<QSlider*, 3> gains_{};  // red, green, blue
  QCheckBox* rggb_ = nullptr;
  QPushButton* load_ = nullptr;
};
