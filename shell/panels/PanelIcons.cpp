#include "shell/panels/PanelIcons.h"

#include <QPainter>
#include <QPixmap>
#include <functional>

namespace PanelIcons {
namespace {
constexpr int kSize = 32;

// A picture on a transparent square; the disabled look comes from QIcon.
QIcon drawn(const std::function<void(QPainter&)>& draw) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  draw(p);
  p.end();
  return QIcon(pixmap);
}
// A triangle pointing right (or left, mirrored) with its tip at `tip`.
void triangle(QPainter& p, double tip, bool right) {
  const double base = right ? tip - 10 : tip + 10;
  p.drawPolygon(QPolygonF({QPointF(base, 8), QPointF(tip, 16), QPointF(base, 24)}));
}

void bar(QPainter& p, double x) { p.drawRect(QRectF(x, 8, 3, 16)); }

QIcon playerIcon(const std::function<void(QPainter&)>& shapes) {
  return drawn([&](QPainter& p) {
    p.setPen(QPen(QColor(0, 70, 0), 1));
    p.setBrush(QColor(40, 160, 40));
    shapes(p);
  });
}
}  // namespace

QIcon ToStart() {
  return playerIcon([](QPainter& p) {
    bar(p, 5);
    triangle(p, 8, false);
    triangle(p, 17, false);
  });
}
QIcon FrameBack() {
  return playerIcon([](QPainter& p) {
    bar(p, 9);
    triangle(p, 12, false);
  });
}
QIcon PlayBack() {
  return playerIcon([](QPainter& p) { triangle(p, 10, false); });
}
QIcon StopPlaying() {
  return playerIcon([](QPainter& p) { p.drawRect(QRectF(9, 9, 14, 14)); });
}
QIcon PlayForward() {
  return playerIcon([](QPainter& p) { triangle(p, 22, true); });
}
QIcon FrameForward() {
  return playerIcon([](QPainter& p) {
    triangle(p, 20, true);
    bar(p, 20);
  });
}
QIcon ToEnd() {
  return playerIcon([](QPainter& p) {
    triangle(p, 15, true);
    triangle(p, 24, true);
    bar(p, 24);
  });
}

QIcon Record() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(QColor(120, 0, 0), 2));
    p.setBrush(QColor(220, 30, 30));
    p.drawEllipse(QRectF(6, 6, kSize - 12, kSize - 12));
  });
}

QIcon StopRecording() {
  return drawn([](QPainter& p) {
    p.setPen(QPen(QColor(30, 30, 30), 2));
    p.setBrush(QColor(90, 90, 90));
    p.drawRect(QRectF(8, 8, kSize - 16, kSize - 16));
  });
}

}  // namespace PanelIcons
