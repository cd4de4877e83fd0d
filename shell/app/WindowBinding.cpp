#include "shell/app/WindowBinding.h"

#include <QCoreApplication>
#include <QVariant>

#include "platform/kernel/global_memory.h"
#include "platform/win/messages.h"
#include "shell/app/QtDispatcher.h"

namespace {
constexpr const char* kHwndProperty = "kelorvoHwnd";
}  // namespace

QEvent::Type WinMessageType(UINT message) { return static_cast<QEvent::Type>(QEvent::User + message); }

namespace {

LRESULT FreeUndeliveredLogText(const plat::Message& m) {
  // A log text is the receiver's to free, also when its window went away
  // before the text arrived.
  if (m.message == WM_LOG_TEXT && m.lParam != 0) GlobalFree(reinterpret_cast<HGLOBAL>(m.lParam));
  return 0;
}

}  // namespace

WindowBinding::WindowBinding(QWidget* widget)
    : registration_(
          QtDispatcher::ui(),
          [target = QPointer<QWidget>(widget)](const plat::Message& m) -> LRESULT {
            // Already on the UI thread: deliver at once so a sender gets its result.
            if (!target) return 0;
            WinMessageEvent event(m);
            QCoreApplication::sendEvent(target.data(), &event);
            return event.result;
          },
          FreeUndeliveredLogText) {
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
