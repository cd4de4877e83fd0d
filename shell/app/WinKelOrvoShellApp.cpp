#include "shell/app/WinKelOrvoShellApp.h"

#include <QDialog>

#include "platform/com/co_create.h"
#include "shell/app/BugReportDialog.h"
#include "shell/app/LogStore.h"
#include "shell/app/MainFrame.h"
#include "shell/app/ShellConfig.h"
#include "shell/app/StartUp.h"

CWinKelOrvoShellApp::CWinKelOrvoShellApp(std::filesystem::path program)
    : ini_(ShellConfig::IniPathFor(program)) {
  CoInitialize(nullptr);
}

CWinKelOrvoShellApp::~CWinKelOrvoShellApp() {
  frame_.reset();
  graph_.Destroy();
  CoUninitialize();
}

bool CWinKelOrvoShellApp::InitInstance() {
  while (true) {
    auto startUp = std::make_unique<StartUp::CStartUp>();
    startUp->ShowNow();
    if (graph_.Create()) {
      startUp.reset();
      frame_ = std::make_unique<CMainFrame>(graph_, ini_);
      ShellBoxes::SetMainWindow(frame_.get());
      frame_->show();
      return true;
    }
    CBugReportDialog dialog(QString::fromStdString(graph_.GetLastErrorText()));
    if (observer_) observer_(dialog);
    const bool retry = dialog.exec() == QDialog::Accepted;
    if (!retry) return false;
    graph_.Destroy();
  }
}

int CWinKelOrvoShellApp::ExitInstance() {
  frame_.reset();
  graph_.Destroy();
  LogStore::instance().Clear();
  return 0;
}
