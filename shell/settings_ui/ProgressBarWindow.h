// A progress bar with a window handle, driven as the filter drives it: by
// PBM_SETRANGE, PBM_SETPOS, PBM_DELTAPOS, PBM_SETSTEP and PBM_STEPIT posted
// or sent from any thread. Positions are kept inside the range, and a step
// past the top starts again from the bottom, as the filter expects of a
// progress control.
#pragma once
#include <QProgressBar>

#include "shell/app/WindowBinding.h"

class CProgressBarWindow : public QProgressBar {
 public:
  explicit CProgressBarWindow(QWidget* parent = nullptr);

  HWND hwnd() const { return binding_.hwnd(); }
  // The position clamped to the range; the previous position.
  int SetPos(int position);

 protected:
  bool event(QEvent* e) override;

 private:
  int handle(UINT message, WPARAM wParam, LPARAM lParam);

  WindowBinding binding_{this};
  int step_ = 10;
};
