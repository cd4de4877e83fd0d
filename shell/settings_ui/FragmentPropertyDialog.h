// The fragment of the recorded film to save: its first ("С") and last
// ("по") frame, typed or set from the frame the player shows. The first
// frame always stays below the last one while there is room, and the
// fragment goes to the film marks when the dialog is destroyed, so that
// the save and the player find it after the panel is rebuilt.
#pragma once
#include <QLineEdit>
#include <QPushButton>

#include "platform/com/unknown.h"
#include "shared/camera_interfaces.h"
#include "shell/settings_ui/PropertyDialog.h"

class CFragmentPropertyDialog : public CPropertyDialog {
  Q_OBJECT
 public:
  static constexpr int kFrom = 1129;
  static constexpr int kTo = 1130;
  static constexpr int kSetFrom = 1131;
  static constexpr int kSetTo = 1132;

  CFragmentPropertyDialog();
  ~CFragmentPropertyDialog() override;

  void RefreshControls() override;

  long long From() const { return from_; }
  long long To() const { return to_; }

 protected:
  bool OnInitDialog() override;

 private:
  void readFilm();
  // Takes the typed number of `edit` if it changed since it was last taken.
  void takeTyped(QLineEdit* edit, bool fromEdit);
  void setFrom(long long frame);
  void setTo(long long frame);
  void setFromCurrent(bool fromButton);
  long long clampToFilm(long long frame) const;

  ComPtr<IMediaSeekingLocal> seeking_;
  long long from_ = 0;
  long long to_ = 0;
  long long min_ = 0;
  long long max_ = 0;
  bool known_ = false;  // from and to came from somewhere
  QLineEdit* fromEdit_ = nullptr;
  QLineEdit* toEdit_ = nullptr;
};
