#include "shell/app/ToolbarIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace ToolbarIcons {

namespace {

constexpr int kSize = 32;

QIcon draw(const std::function<void(QPainter&)>& body) {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  body(p);
  return QIcon(pixmap);
}

const QColor kInk(40, 44, 52);

}  // namespace

QIcon Setup() {
  return draw([](QPainter& p) {
    p.setPen(QPen(kInk, 2));
    p.setBrush(QColor(120, 130, 145));
    p.drawRoundedRect(QRectF(3, 9, 20, 15), 2, 2);
    p.drawPolygon(QPolygonF({QPointF(23, 13), QPointF(29, 9), QPointF(29, 24), QPointF(23, 20)}));
    p.setBrush(QColor(90, 160, 230));
    p.drawEllipse(QPointF(13, 16.5), 4, 4);
  });
}

QIcon Input() {
  return draw([](QPainter& p) {
    p.setPen(QPen(kInk, 2));
    p.setBrush(QColor(210, 30, 30));
    p.drawEllipse(QPointF(16, 16), 10, 10);
  });
}

QIcon Preview() {
  return draw([](QPainter& p) {
    p.setPen(QPen(kInk, 2));
    p.setBrush(QColor(40, 150, 60));
    p.drawPolygon(QPolygonF({QPointF(9, 6), QPointF(26, 16), QPointF(9, 26)}));
  });
}

QIcon Save() {
  return draw([](QPainter& p) {
    p.setPen(QPen(kInk, 2));
    p.setBrush(QColor(60, 90, 170));
    p.drawRect(QRectF(5, 5, 22, 22));
    p.setBrush(QColor(235, 235, 235));
    p.drawRect(QRectF(10, 5, 12, 8));
    p.drawRect(QRectF(9, 17, 14, 10));
  });
}

QIcon Subtraction() {
  return draw([](QPainter& p) {
    p.setPen(QPen(kInk, 2));
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(QRectF(4, 4, 16, 16));
    p.setBrush(QColor(250, 220, 120));
    p.drawRect(QRectF(12, 12, 16, 16));
    p.setPen(QPen(kInk, 3));
    p.drawLine(QPointF(15, 20), QPointF(25, 20));
  });
}

QIcon LoadBackground() {
  return draw([](QPainter& p) {
    p.setPen(QPen(kInk, 2));
    p.setBrush(QColor(170, 170, 170));
    p.drawRect(QRectF(4, 16, 24, 12));
    p.setBrush(QColor(40, 120, 200));
    p.drawPolygon(QPolygonF({QPointF(12, 3), QPointF(20, 3), QPointF(20, 10), QPointF(25, 10), QPointF(16, 18),
                             QPointF(7, 10), QPointF(12, 10)}));
  });
}

}  // namespace ToolbarIcons
