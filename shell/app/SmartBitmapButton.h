// A panel button showing a picture, for frame stepping and the like: a
// double click counts as a second click, so rapid clicks are never lost.
#pragma once
#include <QPushButton>

class CSmartBitmapButton : public QPushButton {
 public:
  CSmartBitmapButton(const QIcon& icon, const QString& toolTip, QWidget* parent = nullptr);

 protected:
  void mouseDoubleClickEvent(QMouseEvent* e) override;
};
