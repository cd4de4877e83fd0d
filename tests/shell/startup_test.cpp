// Start-up as the user meets it: the camera-not-found dialog and its retry,
// giving up, the details box, and the about box.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QLabel>
#include <QPlainTextEdit>

#include "filter/hardware/kellib3.h"
#include "platform/com/bstr_holder.h"
#include "platform/kernel/text_codec.h"
#include "shell/app/AboutDlg.h"
#include "shell/app/BugReportDialog.h"
#include "shell/app/MainFrame.h"
#include "shell/app/WinKelOrvoShellApp.h"
#include "tests/shell/qt_helpers.h"
#include "tests/shell/shell_host.h"

namespace kel::test {
namespace {

using Vars = std::vector<std::pair<std::string, std::string>>;

bool anyVisibleTopLevel() {
  for (QWidget* w : QApplication::topLevelWidgets())
    if (w->isVisible()) return true;
  return false;
}

TEST(ShellStartUp, WithoutACameraOffersRetryAndComesUpOnceTheCameraIsBack) {
  ShellHost host(Vars{{"KELLIB3_CAMERA", "absent"}});
  CWinKelOrvoShellApp app(host.dir().path() / "WinKelOrvoShell");
  int dialogs = 0;
  QString details;
  std::unique_ptr<ScopedEnv> cameraBack;
  app.SetDialogObserver([&](CBugReportDialog&) {
    ++dialogs;
    whenModal([&](QWidget* dialog) {
      details = dialog->findChild<QPlainTextEdit*>("errorText")->toPlainText();
      // The camera is switched on while the dialog waits.
      cameraBack = std::make_unique<ScopedEnv>("KELLIB3_CAMERA", "present");
      buttonWithText(dialog, "Повтор")->click();
    });
  });
  ASSERT_TRUE(app.InitInstance()) << "retry brings the main frame up without restarting";
  EXPECT_EQ(dialogs, 1);
  EXPECT_TRUE(details.contains("Камера не обнаружена")) << details.toStdString();
  ASSERT_NE(app.MainFrame(), nullptr);
  EXPECT_TRUE(app.MainFrame()->isVisible());
  EXPECT_TRUE(app.MainFrame()->windowTitle().endsWith("WinKelOrvoShell"));
  EXPECT_EQ(app.MainFrame()->ModeCode(), 2) << "the main frame opens in set-up mode";
  EXPECT_EQ(filterNames(app.Graph().Graph()), (std::vector<std::string>{"Camera", "Renderer"}));
  app.ExitInstance();
  EXPECT_EQ(app.MainFrame(), nullptr);
}

TEST(ShellStartUp, EscapeInTheDialogEndsWithoutAMainWindow) {
  ShellHost host(Vars{{"KELLIB3_CAMERA", "absent"}});
  CWinKelOrvoShellApp app(host.dir().path() / "WinKelOrvoShell");
  int dialogs = 0;
  app.SetDialogObserver([&](CBugReportDialog&) {
    ++dialogs;
    whenModal([](QWidget* dialog) { QTest::keyClick(dialog, Qt::Key_Escape); });
  });
  EXPECT_FALSE(app.InitInstance());
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(app.MainFrame(), nullptr);
  EXPECT_FALSE(anyVisibleTopLevel()) << "neither the start-up window nor a main frame is left";
}

TEST(ShellStartUp, RetryingWhileTheCameraIsStillMissingAsksAgainThenCancelEnds) {
  ShellHost host(Vars{{"KELLIB3_CAMERA", "absent"}});
  CWinKelOrvoShellApp app(host.dir().path() / "WinKelOrvoShell");
  int dialogs = 0;
  app.SetDialogObserver([&](CBugReportDialog&) {
    const char* answer = ++dialogs < 3 ? "Повтор" : "Отмена";
    whenModal([answer](QWidget* dialog) { buttonWithText(dialog, answer)->click(); });
  });
  EXPECT_FALSE(app.InitInstance());
  EXPECT_EQ(dialogs, 3);
  EXPECT_EQ(app.MainFrame(), nullptr);
}

TEST(BugReportDialog, DetailsOpenAndCloseUnderTheButtonAndTheWidthStays) {
  CBugReportDialog dialog("Камера не обнаружена\nподробности");
  dialog.show();
  ASSERT_TRUE(waitFor([&] { return dialog.isVisible(); }));
  QAbstractButton* details = buttonWithText(&dialog, "Сведения");
  ASSERT_NE(details, nullptr) << "the dialog opens collapsed";
  EXPECT_FALSE(dialog.DetailsShown());
  const QSize collapsed = dialog.size();
  details->click();
  EXPECT_EQ(details->text(), "Скрыть");
  EXPECT_TRUE(dialog.DetailsShown());
  ASSERT_TRUE(waitFor([&] { return dialog.height() > collapsed.height(); })) << "the dialog grows";
  EXPECT_EQ(dialog.width(), collapsed.width());
  details->click();
  EXPECT_EQ(details->text(), "Сведения");
  ASSERT_TRUE(waitFor([&] { return dialog.height() == collapsed.height(); })) << "and shrinks back";
  EXPECT_EQ(dialog.width(), collapsed.width());
  EXPECT_EQ(dialog.findChild<QPlainTextEdit*>("errorText")->toPlainText(), "Камера не обнаружена\nподробности");
}

TEST(AboutBox, ShowsTheLibraryVersionAndTheSerialNumberWhenTheCameraAnswers) {
  ShellHost host;
  ComPtr<ICamera2> camera = host.createCamera();
  ASSERT_TRUE(camera);
  plat::Bstr serial;
  ASSERT_EQ(camera->GetSerialNumber(serial.put()), S_OK);
  CAboutDlg about(camera.get(), nullptr);
  EXPECT_EQ(about.windowTitle(), "О программе WinKelOrvoShell");
  EXPECT_EQ(about.findChild<QLabel*>("1177")->text(), QString("KelLib3Version: ") + KelLib3Version());
  EXPECT_EQ(about.findChild<QLabel*>("1184")->text(),
            "Серийный номер: " + QString::fromStdString(plat::utf16ToUtf8(serial.view())));
  EXPECT_FALSE(about.findChildren<QLabel*>("version").isEmpty());
  EXPECT_EQ(about.findChild<QLabel*>("version")->text(), "Версия 1.11.1");
}

TEST(AboutBox, WithoutTheCameraShowsOnlyTheLibraryLine) {
  CAboutDlg about(nullptr, nullptr);
  EXPECT_TRUE(about.findChild<QLabel*>("1177")->text().startsWith("KelLib3Version: "));
  EXPECT_EQ(about.findChild<QLabel*>("1184")->text(), "");
}

}  // namespace
}  // namespace kel::test
