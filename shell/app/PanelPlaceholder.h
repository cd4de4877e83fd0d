// A mode's panel or settings view until its own widgets exist: a plain
// frame named after the view it stands for, with a window handle so that
// messages meant for that view (WM_TOGGLE_RECORDING, WM_APPLY_PRESET) reach
// it and can be observed.
#pragma once
#include <QFrame>

#include "shell/app/ModeView.h"
#include "shell/app/WindowBinding.h"

class CPanelPlaceholder : public QFrame, public CModeView {
  Q_OBJECT
 public:
  // `name`: the class name of the view; `heightDlu`: its dialog template's
  // height in dialog units (0 when it has none).
  CPanelPlaceholder(const QString& name, int heightDlu, QWidget* parent = nullptr);

  HWND hwnd() const override { return binding_.hwnd(); }
  // The template's height in pixels of the dialog font.
  int TemplateHeight() const { return templateHeight_; }

 signals:
  void messageReceived(unsigned message, qintptr wParam, qintptr lParam);

 protected:
  bool event(QEvent* e) override;

 private:
  WindowBinding binding_{this};
  int templateHeight_;
};
