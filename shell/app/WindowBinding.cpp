#include "shell/app/WindowBinding.h"

#include <QCoreApplication>
#include <QVariant>

#include "shell/app/QtDispatcher.h"

namespace {
constexpr const char* kHwndProperty = "kelorvoHwnd";
}  // namespace

QEvent::Type WinMessageType(UINT message) { return static_cast<QEvent::Type>(QEvent::User + message); }

WindowBinding::WindowBinding(QWidget* widget)
    : registration_(QtDispatcher::ui(), [target = QPointer<QWidget>(widget)](const plat::Message& m) -> LRESULT {
        // Already on the UI thread: deliver at once so a sender gets its result.
        if (!target) return 0;
        WinMessageEvent event(m);
        QCoreApplication::sendEvent(target.data(), &event);
        return event.result;
      }) {
  widget->setProperty(kHwndProperty, QVariant::fromValue(reinterpret_cast<quintptr>(hwnd())));
}

HWND HwndOf(const QWidget* widget) {
  if (!widget) return nullptr;
  return reinterpret_cast<HWND>(widget->property(kHwndProperty).value<quintptr>());
}

WinMessageEvent* AsWinMessage(QEvent* e) {
  const int type = e->type();
  if (type < QEvent::User || type > QEvent::MaxUser) return nullptr;
  return dynamic_cast<WinMessageEvent*>(e);
}
