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
}  // namespace

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
