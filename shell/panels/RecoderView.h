// Input mode's panel cell: a scroll view holding the recorder panel. It
// takes WM_TOGGLE_RECORDING, which the main frame forwards when the space
// bar is typed, and hands it and the focus to the panel.
#pragma once
#include <QScrollArea>

#include "shell/app/ModeView.h"
#include "shell/app/WindowBinding.h"
#include "shell/panels/DialogWndRecoder.h"

class CRecoderView : public QScrollArea, public CModeView {
  Q_OBJECT
 public:
  explicit CRecoderView(CDialogWndRecoder::Context context, QWidget* parent = nullptr);

  HWND hwnd() const override { return binding_.hwnd(); }
  CDialogWndRecoder* Panel() const { return panel_; }

 protected:
  bool event(QEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;

 private:
  WindowBinding binding_{this};
  CDialogWndRecoder* panel_;
};
