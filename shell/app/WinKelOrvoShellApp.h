// CWinKelOrvoShellApp: brings the camera up behind the start-up window,
// offers a retry while it is missing, and opens the main frame. It owns the
// one graph for the whole run and tears it down at exit.
#pragma once
#include <filesystem>
#include <functional>
#include <memory>

#include "shell/app/MessageBoxes.h"
#include "shell/graph/Graph.h"
#include "shell/settings/SettingsHost.h"

class CMainFrame;
class CBugReportDialog;

class CWinKelOrvoShellApp {
 public:
  // `program`: the program's file, whose ".ini" sibling is the profile.
  explicit CWinKelOrvoShellApp(std::filesystem::path program);
  ~CWinKelOrvoShellApp();

  // True when the main frame is up; false: the program ends.
  bool InitInstance();
  // The graph goes, then the log.
  int ExitInstance();

  CGraph& Graph() { return graph_; }
  CMainFrame* MainFrame() const { return frame_.get(); }
  const std::filesystem::path& IniPath() const { return ini_; }

  // Called with each camera-not-found dialog before it runs; tests answer
  // it from here.
  void SetDialogObserver(std::function<void(CBugReportDialog&)> observer) { observer_ = std::move(observer); }

 private:
  std::filesystem::path ini_;
  ShellBoxes::HookInstaller boxes_;
  CGraph graph_;
  // The setting values and film marks outlive every panel; the views reach
  // them through the host.
  Sett::SettingStore settings_;
  Sett::FilmMarks marks_;
  Sett::Host host_{graph_, settings_, marks_};
  std::unique_ptr<CMainFrame> frame_;
  std::function<void(CBugReportDialog&)> observer_;
};
