// Helpers of the shell's window tests: waiting for a condition while the
// event loop runs, and answering the next modal dialog as a user would.
#pragma once
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <QAbstractButton>
#include <QtTest/QtTest>
#include <functional>

namespace kel::test {

// Runs the event loop until `done` holds or `ms` pass; the result of `done`.
inline bool waitFor(const std::function<bool()>& done, int ms = 10000) { return QTest::qWaitFor(done, ms); }

// Once a modal dialog is up, hands it to `act` (which should close it).
// Checks every few milliseconds from the event loop the dialog runs.
inline void whenModal(std::function<void(QWidget*)> act) {
  auto* timer = new QTimer;
  timer->setInterval(5);
  QObject::connect(timer, &QTimer::timeout, [timer, act = std::move(act)] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act(modal);
  });
  timer->start();
}

// The button of `dialog` showing `text`; null when there is none.
QAbstractButton* buttonWithText(QWidget* dialog, const QString& text);

}  // namespace kel::test
