// What a film save writes besides the frames: the information text drawn
// into the AVI (with its font, colour and one of six places) and the
// shooting-parameter text file.
#pragma once
#include <QButtonGroup>
#include <QCheckBox>
#include <QPushButton>

#include "platform/com/unknown.h"
#include "shared/camera_interfaces.h"
#include "shell/settings_ui/PropertyDialog.h"

class CSaveFilmParamsPropertyDialog : public CPropertyDialog {
  Q_OBJECT
 public:
  static constexpr int kOverlay = 1136;
  static constexpr int kFont = 1149;
  static constexpr int kInfoFile = 1138;
  // The information text's places: top row, then bottom row, left to
  // right; the index into this list is the placement the camera is told.
  static constexpr int kPlacements[] = {1140, 1142, 1143, 1145, 1147, 1148};

  // Tells the camera the dialog's initial choices: the text file on, the
  // overlay off.
  CSaveFilmParamsPropertyDialog();
  ~CSaveFilmParamsPropertyDialog() override;

 protected:
  bool OnInitDialog() override;

 private:
  void enableOverlayControls();
  void onOverlay(bool checked);
  void onInfoFile(bool checked);
  void onPlacement(int index);
  void onFont();

  ComPtr<ICamera2> camera_;
  QCheckBox* overlay_ = nullptr;
  QPushButton* font_ = nullptr;
  QButtonGroup* placements_ = nullptr;
  QCheckBox* infoFile_ = nullptr;
};
