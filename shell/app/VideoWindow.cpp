#include "shell/app/VideoWindow.h"

#include <QPainter>
#include <QScreen>
#include <algorithm>

#include "platform/win/messages.h"
#include "shell/app/ShellConfig.h"
#include "shell/app/frame_image.h"
#include "shell/app/video_sizing.h"
#include "shell/graph/Graph.h"

namespace {
constexpr LONG kDecimationOption = 0x400055;
constexpr qreal kFallbackRefreshHz = 60.0;
}  // namespace

CVideoWindow::CVideoWindow(CGraph& graph, std::filesystem::path ini, std::function<int()> zoom, QWidget* parent)
    : QWidget(parent), graph_(graph), zoom_(std::move(zoom)), stretch_(ShellConfig::Stretch(ini)) {
  setObjectName("CVideoWindow");
  // The frame covers the whole window: no background to erase first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setCursor(Qt::ArrowCursor);
  // A camera without the option leaves the decimation unbound (factor 1).
  if (!graph_.GetScalarProperty(kDecimationOption, 0, decimation_.put())) decimation_ = nullptr;
  graph_.GetMediaEvent(mediaEvent_.putVoid());
  graph_.GetWindowlessControl(windowless_.putVoid());
  if (windowless_) {
    windowless_->SetVideoClippingWindow(hwnd());
    windowless_->SetBorderColor(0);
  }
  graph_.SetVideoWindow(hwnd(), [this] { return static_cast<LPARAM>(zoom_ ? zoom_() : VideoSizing::kFit); });
  paintTimer_.setSingleShot(true);
  paintTimer_.setTimerType(Qt::PreciseTimer);
  connect(&paintTimer_, &QTimer::timeout, this, [this] { update(); });
  sinceLastPaint_.start();
}

CVideoWindow::~CVideoWindow() {
  graph_.SetVideoWindow(nullptr, {});
  if (windowless_) windowless_->SetVideoClippingWindow(nullptr);
}

std::optional<long> CVideoWindow::Decimation() const {
  LONG value = 0;
  if (!decimation_ || FAILED(decimation_->GetValue(&value, 0))) return std::nullopt;
  return value;
}

void CVideoWindow::SizeFor(int zoom) {
  if (!windowless_) return;
  LONG width = 0, height = 0;
  if (FAILED(windowless_->GetNativeVideoSize(&width, &height, nullptr, nullptr))) return;
  const int factor = VideoSizing::StretchFactor(stretch_, Decimation());
  const QSize parent = parentWidget() ? parentWidget()->size() : QSize();
  const auto size = VideoSizing::WindowSize({static_cast<int>(width), static_cast<int>(height)}, zoom, factor,
                                            {parent.width(), parent.height()});
  if (!size) return;
  hide();
  setGeometry(0, 0, size->width, size->height);
  emit Sized(QSize(size->width, size->height));
}

bool CVideoWindow::event(QEvent* e) {
  if (WinMessageEvent* m = AsWinMessage(e)) {
    if (m->message == plat::kRendererRepaintMessage) frameArrived();
    if (m->message == WM_VIDEO_SIZE) SizeFor(static_cast<int>(m->lParam));
    return true;
  }
  return QWidget::event(e);
}

void CVideoWindow::frameArrived() {
  // One paint per screen refresh at most; frames arriving meanwhile are
  // not queued, the paint reads whichever is newest then.
  if (paintTimer_.isActive()) return;
  const qreal hz = screen() && screen()->refreshRate() > 1 ? screen()->refreshRate() : kFallbackRefreshHz;
  const qint64 interval = static_cast<qint64>(1000.0 / hz);
  paintTimer_.start(static_cast<int>(std::max<qint64>(0, interval - sinceLastPaint_.elapsed())));
}

void CVideoWindow::paintEvent(QPaintEvent*) {
  sinceLastPaint_.restart();
  const std::uint64_t before = frame_.counter;
  const bool have = plat::readNewestFrame(graph_.Renderer(), frame_);
  if (windowless_) windowless_->RepaintVideo(hwnd(), nullptr);
  QPainter painter(this);
  const QImage image = have ? FrameImage(frame_) : QImage();
  if (image.isNull()) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  if (frame_.bottomUp) {
    // The first stored row is the picture's last: draw it upside down.
    painter.translate(0, height());
    painter.scale(1, -1);
  }
  painter.drawImage(rect(), image);
  if (frame_.counter != before) {
    ++framesPainted_;
    emit FramePainted(frame_.counter);
  }
}

void CVideoWindow::resizeEvent(QResizeEvent*) {
  if (!windowless_) return;
  RECT client{0, 0, width(), height()};
  windowless_->SetVideoPosition(nullptr, &client);
}
