// The main frame's menus, toolbar and status bar: every command a QAction
// named by its number, with the menu text, accelerator and prompt it has
// always had. Building them is all this does; CMainFrame gives them life.
#pragma once
#include <QString>
#include <map>

class QAction;
class QActionGroup;
class QLabel;
class QMainWindow;
class QMenu;
class QToolBar;

struct MainFrameUi {
  // Builds everything into `frame`.
  explicit MainFrameUi(QMainWindow* frame);

  QAction* command(int id) const;
  // The status pane's width: 104 spaces of the status bar's font.
  static int PaneWidth(const QLabel* pane);

  std::map<int, QAction*> commands;
  QActionGroup* zoomGroup = nullptr;
  QToolBar* toolbar = nullptr;
  QLabel* capacity = nullptr;
  QLabel* temperature = nullptr;
  QMenu* presets = nullptr;
  QMenu* loadPreset = nullptr;
  QMenu* editPreset = nullptr;

 private:
  QAction* add(QMainWindow* frame, int id, const QString& text, const QString& prompt = {});
  void buildMenus(QMainWindow* frame);
  void buildToolbar(QMainWindow* frame);
  void buildStatusBar(QMainWindow* frame);
};
