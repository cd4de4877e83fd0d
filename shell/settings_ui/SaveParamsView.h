// Save mode's panel cell: a scroll view holding the save-film dialog,
// sized so that the dialog fits it.
#pragma once
#include <QScrollArea>

#include "shell/settings_ui/SaveParamsDialog.h"

class CSaveParamsView : public QScrollArea {
  Q_OBJECT
 public:
  explicit CSaveParamsView(CSaveParamsDialog::Context context, QWidget* parent = nullptr);

  CSaveParamsDialog* Dialog() const { return dialog_; }
  // The height that shows the whole dialog, frame included.
  int FittingHeight() const;

 protected:
  void focusInEvent(QFocusEvent* e) override;

 private:
  CSaveParamsDialog* dialog_;
};
