#include "shell/app/StartUp.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QScreen>

namespace StartUp {

namespace {
constexpr int kWidth = 448;
constexpr int kHeight = 369;
constexpr int kMargin = 20;  // free band above and below the picture
}  // namespace

CSmartStatic::CSmartStatic(QPixmap picture, QWidget* parent) : QWidget(parent), picture_(std::move(picture)) {}

void CSmartStatic::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawPixmap(0, 0, picture_);
}

CStartUp::CStartUp() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint) {
  setObjectName("StartUp");
  setFixedSize(kWidth, kHeight);
  setAutoFillBackground(true);
  QPalette p = palette();
  p.setColor(QPalette::Window, QColor(24, 28, 36));
  setPalette(p);
  picture_ = new CSmartStatic(Picture(QSize(kWidth, kHeight - 2 * kMargin)), this);
  picture_->setObjectName("240");
}

void CStartUp::resizeEvent(QResizeEvent*) {
  picture_->setGeometry(0, kMargin, width(), std::max(0, height() - 2 * kMargin));
}

void CStartUp::ShowNow() {
  if (QScreen* screen = QApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.center() - QPoint(kWidth / 2, kHeight / 2));
  }
  show();
  raise();
  repaint();
  // Let the window system map and draw it before the UI thread blocks.
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QPixmap CStartUp::Picture(QSize size) {
  QPixmap pixmap(size);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  QLinearGradient sky(0, 0, 0, size.height());
  sky.setColorAt(0, QColor(30, 40, 60));
  sky.setColorAt(1, QColor(10, 12, 18));
  p.fillRect(pixmap.rect(), sky);

  // A strip of film running across the picture.
  const int stripTop = size.height() / 2 - 40;
  p.fillRect(QRect(0, stripTop, size.width(), 80), QColor(15, 15, 15));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(210, 210, 200));
  for (int x = 6; x < size.width(); x += 22) {
    p.drawRoundedRect(QRect(x, stripTop + 6, 10, 8), 2, 2);
    p.drawRoundedRect(QRect(x, stripTop + 66, 10, 8), 2, 2);
  }
  for (int i = 0; i < 6; ++i) {
    QRect frame(10 + i * 74, stripTop + 20, 64, 40);
    QLinearGradient g(frame.topLeft(), frame.bottomRight());
    g.setColorAt(0, QColor(60 + i * 25, 90, 140));
    g.setColorAt(1, QColor(20, 30, 50));
    p.setBrush(g);
    p.drawRect(frame);
  }

  // The lens in front of it.
  const QPointF centre(size.width() * 0.72, size.height() / 2.0);
  for (int r = 70, shade = 70; r > 10; r -= 14, shade += 30) {
    QRadialGradient glass(centre - QPointF(r / 3.0, r / 3.0), r);
    glass.setColorAt(0, QColor(std::min(255, shade + 60), std::min(255, shade + 80), 255));
    glass.setColorAt(1, QColor(10, 10, std::min(255, shade)));
    p.setBrush(glass);
    p.setPen(QPen(QColor(180, 180, 190), 2));
    p.drawEllipse(centre, r, r);
  }

  QFont title = QApplication::font();
  title.setPointSizeF(title.pointSizeF() * 1.8);
  title.setBold(true);
  p.setFont(title);
  p.setPen(QColor(235, 235, 240));
  p.drawText(QRect(16, 10, size.width() - 32, 50), Qt::AlignLeft | Qt::AlignVCenter, "WinKelOrvoShell");
  QFont note = QApplication::font();
  p.setFont(note);
  p.setPen(QColor(190, 200, 215));
  p.drawText(QRect(16, size.height() - 44, size.width() - 32, 36), Qt::AlignLeft | Qt::AlignVCenter,
             "Скоростная цифровая камера — подключение...");
  return pixmap;
}

}  // namespace StartUp
