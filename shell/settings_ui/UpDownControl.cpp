#include "shell/settings_ui/UpDownControl.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

CUpDownControl::CUpDownControl(QLineEdit* buddy, QWidget* parent) : QSpinBox(parent), buddy_(buddy) {
  // Only the arrows show; the number lives in the buddy.
  lineEdit()->hide();
  setFocusPolicy(Qt::NoFocus);
  setKeyboardTracking(false);
  // The arrow keys in the buddy step as the arrows do.
  buddy_->installEventFilter(this);
}

int CUpDownControl::Position() {
  setValue(std::clamp(Number(), minimum(), maximum()));
  return value();
}

int CUpDownControl::Number() const {
  bool ok = false;
  const int typed = buddy_->text().trimmed().toInt(&ok);
  return ok ? typed : value();
}

void CUpDownControl::SetPosition(int position) {
  setValue(position);
  buddy_->setText(QString::number(value()));
}

void CUpDownControl::stepBy(int steps) {
  const int from = Position();
  const int change = std::clamp(from + steps, minimum(), maximum()) - from;
  if (change == 0) return;
  SetPosition(from + change);
  if (onStep_) onStep_(change);
}

bool CUpDownControl::eventFilter(QObject* watched, QEvent* event) {
  if (watched == buddy_ && event->type() == QEvent::KeyPress && isEnabled()) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      stepBy(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QSpinBox::eventFilter(watched, event);
}
