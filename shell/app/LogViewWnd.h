// CLogView: the log pane under the camera picture. It draws the process's
// log lines in their colours, keeps the newest in view, clears on
// "Очистить" (right button), and receives the capture filter's texts and
// the restart requests as window messages.
#pragma once
#include <QAbstractScrollArea>
#include <QColor>
#include <vector>

#include "shell/app/LogStore.h"
#include "shell/app/WindowBinding.h"

class CGraph;
class QMenu;

class CLogView : public QAbstractScrollArea {
 public:
  CLogView(CGraph& graph, QWidget* parent);
  ~CLogView() override;

  HWND hwnd() const { return binding_.hwnd(); }
  // Where a typed space goes (WM_TOGGLE_RECORDING).
  void SetMainFrame(HWND frame) { mainFrame_ = frame; }

  struct Line {
    QString text;
    QColor colour;
    int width = 0;
  };
  const std::vector<Line>& Lines() const { return lines_; }
  int LineHeight() const;
  QMenu* ContextMenu() const { return menu_; }

 protected:
  bool event(QEvent* e) override;
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void append(const std::string& line);
  void reload();
  void updateScrollRanges();

  CGraph& graph_;
  WindowBinding binding_{this};
  HWND mainFrame_ = nullptr;
  std::vector<Line> lines_;
  int widest_ = 0;
  QMenu* menu_;
  LogStore::Observer previousObserver_;
};
