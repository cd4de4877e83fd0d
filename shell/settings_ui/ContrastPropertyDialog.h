// Black and white level of the picture, two sliders that never cross: the
// black level always stays below the white one.
#pragma once
#include <QSlider>

#include "platform/com/unknown.h"
#include "shared/camera_interfaces.h"
#include "shell/settings_ui/PropertyDialog.h"

class CContrastPropertyDialog : public CPropertyDialog {
  Q_OBJECT
 public:
  static constexpr int kBlack = 1167;
  static constexpr int kWhite = 1168;

  CContrastPropertyDialog();
  ~CContrastPropertyDialog() override;

  void RefreshControls() override;

 protected:
  bool OnInitDialog() override;

 private:
  void onMoved(bool blackMoved);

  ComPtr<ICamera2> camera_;
  QSlider* black_ = nullptr;
  QSlider* white_ = nullptr;
};
