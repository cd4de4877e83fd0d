// A platform window handle for a Qt widget: messages posted or sent to the
// handle reach the widget on the UI thread as a WinMessageEvent whose type
// carries the message number, so a widget handles WM_LOG_TEXT and the rest
// in its event() like any other event.
#pragma once
#include <QEvent>
#include <QPointer>
#include <QWidget>

#include "platform/win/window_table.h"

// The event type for a message number: QEvent::User + the number.
QEvent::Type WinMessageType(UINT message);

class WinMessageEvent : public QEvent {
 public:
  explicit WinMessageEvent(const plat::Message& m)
      : QEvent(WinMessageType(m.message)), message(m.message), wParam(m.wParam), lParam(m.lParam) {}
  const UINT message;
  const WPARAM wParam;
  const LPARAM lParam;
  LRESULT result = 0;
};

class WindowBinding {
 public:
  // Registers a handle for `widget`; it stops being a window when the
  // binding goes (make the binding a member of the widget).
  explicit WindowBinding(QWidget* widget);
  WindowBinding(const WindowBinding&) = delete;
  WindowBinding& operator=(const WindowBinding&) = delete;

  HWND hwnd() const { return registration_.hwnd(); }

 private:
  plat::WindowRegistration registration_;
};

// The handle of a widget that has a binding, else null.
HWND HwndOf(const QWidget* widget);

// The message if `e` is one delivered through a binding, else null.
WinMessageEvent* AsWinMessage(QEvent* e);
