// The digital gain: how many bits the picture is shifted up, 0..8, in an
// edit with its spin box.
#pragma once
#include <QSpinBox>

#include "platform/com/unknown.h"
#include "shared/camera_interfaces.h"
#include "shell/settings_ui/PropertyDialog.h"

class CShiftLevelPropertyDialog : public CPropertyDialog {
  Q_OBJECT
 public:
  static constexpr int kEdit = 1175;
  static constexpr int kSpin = 1176;
  static constexpr int kMinLevel = 0;
  static constexpr int kMaxLevel = 8;

  CShiftLevelPropertyDialog();
  ~CShiftLevelPropertyDialog() override;

  void RefreshControls() override;

 protected:
  bool OnInitDialog() override;

 private:
  void onSpin(int position);

  ComPtr<ICamera2> camera_;
  QSpinBox* spin_ = nullptr;
  int level_ = 0;
};
