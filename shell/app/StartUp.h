// The start-up window shown while the camera is brought up: a frameless
// 448 x 369 window centred on the screen holding the program's picture.
#pragma once
#include <QPixmap>
#include <QWidget>

namespace StartUp {

// Paints its picture 1:1 from the top-left corner.
class CSmartStatic : public QWidget {
 public:
  CSmartStatic(QPixmap picture, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QPixmap picture_;
};

class CStartUp : public QWidget {
 public:
  CStartUp();
  // Shows the window and paints it at once: the caller then blocks the UI
  // thread while the camera comes up.
  void ShowNow();

  // The program's start-up picture, drawn here.
  static QPixmap Picture(QSize size);

 protected:
  void resizeEvent(QResizeEvent*) override;

 private:
  CSmartStatic* picture_;
};

}  // namespace StartUp
