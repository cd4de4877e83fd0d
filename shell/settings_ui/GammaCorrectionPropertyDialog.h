// Gamma correction on or off; the graph is stopped and run again so the
// next frames are drawn with the new curve.
#pragma once
#include <QCheckBox>

#include "platform/com/unknown.h"
#include "shared/camera_interfaces.h"
#include "shell/settings_ui/PropertyDialog.h"

class CGammaCorrectionPropertyDialog : public CPropertyDialog {
  Q_OBJECT
 public:
  static constexpr int kEnable = 1171;

  CGammaCorrectionPropertyDialog();
  ~CGammaCorrectionPropertyDialog() override;

  void RefreshControls() override;

 protected:
  bool OnInitDialog() override;

 private:
  void onClicked(bool checked);

  ComPtr<ICamera2> camera_;
  QCheckBox* enable_ = nullptr;
};
