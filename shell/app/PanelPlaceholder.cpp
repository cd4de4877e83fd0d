#include "shell/app/PanelPlaceholder.h"


CPanelPlaceholder::CPanelPlaceholder(const QString& name, int heightDlu, QWidget* parent)
    : QFrame(parent), templateHeight_(heightDlu * fontMetrics().height() / 8) {
  setObjectName(name);
  setFrameShape(QFrame::StyledPanel);
  setMinimumHeight(fontMetrics().height() * 2);
}

bool CPanelPlaceholder::event(QEvent* e) {
  if (WinMessageEvent* m = AsWinMessage(e)) {
    emit messageReceived(m->message, static_cast<qintptr>(m->wParam), static_cast<qintptr>(m->lParam));
    return true;
  }
  return QFrame::event(e);
}
