#include "shell/app/WindowBinding.h"

#include <QCoreApplication>

#include "shell/app/QtDispatcher.h"

QEvent::Type WinMessageType(UINT message) { return static_cast<QEvent::Type>(QEvent::User + message); }

WindowBinding::WindowBinding(QWidget* widget)
    : registration_(QtDispatcher::ui(), [target = QPointer<QWidget>(widget)](const plat::Message& m) -> LRESULT {
        // Already on the UI thread: deliver at once so a sender gets its result.
        if (!target) return 0;
        WinMessageEvent event(m);
        QCoreApplication::sendEvent(target.data(), &event);
        return event.result;
      }) {}

WinMessageEvent* AsWinMessage(QEvent* e) {
  const int type = e->type();
  if (type < QEvent::User || type > QEvent::MaxUser) return nullptr;
  return dynamic_cast<WinMessageEvent*>(e);
}
