// The platform's windows on the Qt UI thread: tasks and messages posted
// from other threads arrive there in order, message boxes asked for on a
// streaming thread appear as dialogs over the UI, and the panels' picture
// buttons count a double click as a second click.
#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QSignalSpy>
#include <atomic>
#include <thread>
#include <vector>

#include "platform/win/message_box.h"
#include "platform/win/window_table.h"
#include "shell/app/MessageBoxes.h"
#include "shell/app/WindowBinding.h"
#include "shell/app/QtDispatcher.h"
#include "shell/app/SmartBitmapButton.h"
#include "tests/shell/qt_helpers.h"

namespace kel::test {
namespace {

TEST(QtDispatcher, TasksPostedFromAnotherThreadRunOnTheUiThreadInOrder) {
  auto dispatcher = QtDispatcher::ui();
  EXPECT_TRUE(dispatcher->isCurrentThread());
  std::vector<int> ran;
  bool allOnUi = true;
  std::thread poster([&] {
    EXPECT_FALSE(dispatcher->isCurrentThread());
    for (int i = 0; i < 500; ++i)
      dispatcher->post([&, i] {
        allOnUi = allOnUi && dispatcher->isCurrentThread();
        ran.push_back(i);
      });
  });
  poster.join();
  ASSERT_TRUE(waitFor([&] { return ran.size() == 500; }));
  EXPECT_TRUE(allOnUi);
  for (int i = 0; i < 500; ++i) ASSERT_EQ(ran[static_cast<std::size_t>(i)], i);
}

// A widget with a window handle that keeps the messages it receives.
class BoundWidget : public QWidget {
 public:
  HWND hwnd() const { return binding_.hwnd(); }
  std::vector<plat::Message> received;

 protected:
  bool event(QEvent* e) override {
    if (WinMessageEvent* m = AsWinMessage(e)) {
      received.push_back({hwnd(), m->message, m->wParam, m->lParam});
      return true;
    }
    return QWidget::event(e);
  }

 private:
  WindowBinding binding_{this};
};

TEST(QtDispatcher, MessagesToAWidgetsHandleArriveAsItsEventsAndSendsReturnOnTheUiThread) {
  BoundWidget panel;
  const auto& received = panel.received;
  std::thread sender([&] {
    plat::postMessage(panel.hwnd(), 0x8001, 7, 9);
    plat::postMessage(panel.hwnd(), 0x800B, 0, 0);
  });
  sender.join();
  ASSERT_TRUE(waitFor([&] { return received.size() == 2; }));
  EXPECT_EQ(received[0].message, 0x8001u);
  EXPECT_EQ(received[0].wParam, 7u);
  EXPECT_EQ(received[0].lParam, 9);
  EXPECT_EQ(received[1].message, 0x800Bu);
  // A send from the UI thread itself runs at once.
  plat::sendMessage(panel.hwnd(), 0x8004, 0, 0);
  EXPECT_EQ(received.size(), 3);
  const HWND gone = [] {
    BoundWidget temporary;
    return temporary.hwnd();
  }();
  EXPECT_FALSE(plat::isWindow(gone)) << "a widget's handle goes with it";
}

TEST(MessageBoxHook, ABoxAskedForOnAnotherThreadIsADialogOnTheUiThread) {
  ShellBoxes::HookInstaller hook;
  QString caption, text;
  bool onUi = false;
  whenModal([&](QWidget* box) {
    caption = box->windowTitle();
    onUi = QtDispatcher::ui()->isCurrentThread();
    buttonWithText(box, "Да")->click();
  });
  std::atomic<int> answer{0};
  std::thread streaming([&] { answer = plat::MessageBox("Продолжить?", "LIB3 ERROR", MB_YESNO | MB_ICONQUESTION); });
  const bool answered = waitFor([&] { return answer != 0; });
  streaming.join();
  ASSERT_TRUE(answered);
  EXPECT_EQ(answer, IDYES);
  EXPECT_EQ(caption, "LIB3 ERROR");
  EXPECT_TRUE(onUi);
}

TEST(MessageBoxHook, EscapeGivesTheSafeAnswer) {
  ShellBoxes::HookInstaller hook;
  whenModal([](QWidget* box) { QTest::keyClick(box, Qt::Key_Escape); });
  EXPECT_EQ(plat::MessageBox("Повторить?", "WinKelOrvoShell", MB_RETRYCANCEL), IDCANCEL);
}

TEST(SmartBitmapButton, ADoubleClickCountsAsASecondClick) {
  CSmartBitmapButton button(QIcon(), "Кадр вперёд");
  button.resize(40, 30);
  button.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&button));
  QSignalSpy clicks(&button, &QAbstractButton::clicked);
  const QPointF at(10, 10);
  const auto send = [&](QEvent::Type type) {
    QMouseEvent e(type, at, button.mapToGlobal(at), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &e);
  };
  send(QEvent::MouseButtonPress);
  send(QEvent::MouseButtonRelease);
  send(QEvent::MouseButtonDblClick);
  send(QEvent::MouseButtonRelease);
  EXPECT_EQ(clicks.size(), 2);
}

}  // namespace
}  // namespace kel::test
