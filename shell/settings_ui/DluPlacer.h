// Places a dialog's controls inside its group box by the template's dialog
// units: coordinates count from the dialog's corner, as the templates give
// them, and the group box sits 3 units to the right of that corner.
#pragma once
#include <QWidget>

class DluPlacer {
 public:
  explicit DluPlacer(QWidget* group) : group_(group) {}

  // Parents `control` to the group box at (x, y), cx by cy dialog units;
  // the control carries `id` as its object name. Returns the control.
  template <class Control>
  Control* operator()(Control* control, int id, int x, int y, int cx, int cy) const {
    place(control, id, x, y, cx, cy);
    return control;
  }

 private:
  void place(QWidget* control, int id, int x, int y, int cx, int cy) const;
  QWidget* group_;
};
