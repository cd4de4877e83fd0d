// WinKelOrvoShell: the desktop program. It takes no arguments.
#include <QApplication>

#include "shell/app/ShellConfig.h"
#include "shell/app/WinKelOrvoShellApp.h"

int main(int argc, char** argv) {
  QApplication qt(argc, argv);
  QApplication::setApplicationName("WinKelOrvoShell");
  CWinKelOrvoShellApp app(ShellConfig::RunningProgram());
  if (!app.InitInstance()) return app.ExitInstance(), 0;
  // The program ends when the main frame closes.
  const int code = QApplication::exec();
  app.ExitInstance();
  return code;
}
