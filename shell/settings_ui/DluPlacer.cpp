#include "shell/settings_ui/DluPlacer.h"

#include <QFontMetrics>

namespace {
constexpr int kGroupLeftDlu = 3;
}  // namespace

void DluPlacer::place(QWidget* control, int id, int x, int y, int cx, int cy) const {
  const QFontMetrics metrics = group_->fontMetrics();
  const int unitX = metrics.averageCharWidth();
  const int unitY = metrics.height();
  control->setParent(group_);
  if (id != 0) control->setObjectName(QString::number(id));
  control->setGeometry((x - kGroupLeftDlu) * unitX / 4, y * unitY / 8, cx * unitX / 4, cy * unitY / 8);
  control->show();
}
