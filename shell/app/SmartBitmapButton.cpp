#include "shell/app/SmartBitmapButton.h"

#include <QMouseEvent>

CSmartBitmapButton::CSmartBitmapButton(const QIcon& icon, const QString& toolTip, QWidget* parent)
    : QPushButton(icon, QString(), parent) {
  setToolTip(toolTip);
}

void CSmartBitmapButton::mouseDoubleClickEvent(QMouseEvent* e) {
  if (e->button() != Qt::LeftButton) {
    QPushButton::mouseDoubleClickEvent(e);
    return;
  }
  // The second press of a double click is a press like the first.
  QMouseEvent press(QEvent::MouseButtonPress, e->position(), e->scenePosition(), e->globalPosition(), e->button(),
                    e->buttons(), e->modifiers(), e->pointingDevice());
  mousePressEvent(&press);
}
