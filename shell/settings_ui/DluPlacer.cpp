#include "shell/settings_ui/DluPlacer.h"

#include "shell/app/dialog_units.h"

namespace {
constexpr int kGroupLeftDlu = 3;
}  // namespace

void DluPlacer::place(QWidget* control, int id, int x, int y, int cx, int cy) const {
  const QFontMetrics font = group_->fontMetrics();
  control->setParent(group_);
  if (id != 0) control->setObjectName(QString::number(id));
  control->setGeometry(DluX(font, x - kGroupLeftDlu), DluY(font, y), DluX(font, cx), DluY(font, cy));
  control->show();
}
