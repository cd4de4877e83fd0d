// Preview mode's panel cell: a scroll view holding the player panel.
#pragma once
#include <QScrollArea>

#include "shell/app/ModeView.h"
#include "shell/app/WindowBinding.h"
#include "shell/panels/DialogWndPlayer.h"

class CPlayerView : public QScrollArea, public CModeView {
  Q_OBJECT
 public:
  explicit CPlayerView(CGraph& graph, QWidget* parent = nullptr);

  HWND hwnd() const override { return binding_.hwnd(); }
  CDialogWndPlayer* Panel() const { return panel_; }

 protected:
  void focusInEvent(QFocusEvent* e) override;

 private:
  WindowBinding binding_{this};
  CDialogWndPlayer* panel_;
};
