#include "shell/app/LogViewWnd.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QThread>

#include "platform/win/messages.h"
#include "platform/win/window_table.h"
#include "shell/app/LogView.h"
#include "shell/app/commands.h"
#include "shell/app/log_colour.h"

namespace {

QColor toQColor(LogView::Colour c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

LogView::Colour fromQColor(const QColor& c) {
  return LogView::Rgb(static_cast<unsigned>(c.red()), static_cast<unsigned>(c.green()),
                      static_cast<unsigned>(c.blue()));
}

constexpr int kPageLines = 10;

}  // namespace

CLogView::CLogView(CGraph& graph, QWidget* parent) : QAbstractScrollArea(parent), graph_(graph) {
  setObjectName("CLogView");
  setFocusPolicy(Qt::StrongFocus);
  setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
  viewport()->setBackgroundRole(QPalette::Base);
  viewport()->setAutoFillBackground(true);
  menu_ = new QMenu(this);
  QAction* clear = menu_->addAction("Очистить");
  clear->setObjectName(QString::number(Cmd::kClearLog));
  connect(clear, &QAction::triggered, this, [] { LogStore::instance().Clear(); });

  LogStore& log = LogStore::instance();
  QPointer<CLogView> self(this);
  previousObserver_ = log.SetObserver([self](const std::string* line) {
    if (!self) return;
    // The store is the UI thread's; should a line come from elsewhere, the
    // view catches up from the store's own copy.
    if (QThread::currentThread() != self->thread()) {
      QMetaObject::invokeMethod(self.data(), [self] { if (self) self->reload(); }, Qt::QueuedConnection);
      return;
    }
    if (line) self->append(*line);
    else self->reload();
  });
  log.SetLogWindow(hwnd());
  reload();
}

CLogView::~CLogView() {
  LogStore& log = LogStore::instance();
  if (log.LogWindow() == hwnd()) log.SetLogWindow(nullptr);
  log.SetObserver(std::move(previousObserver_));
}

int CLogView::LineHeight() const { return fontMetrics().height() + fontMetrics().leading(); }

void CLogView::append(const std::string& text) {
  const QColor previous = lines_.empty() ? toQColor(LogView::kInfoColour) : lines_.back().colour;
  Line line;
  line.text = QString::fromStdString(text);
  line.colour = toQColor(LogView::LineColour(text, fromQColor(previous)));
  line.width = fontMetrics().horizontalAdvance(line.text);
  widest_ = std::max(widest_, line.width);
  lines_.push_back(std::move(line));
  updateScrollRanges();
  viewport()->update();
}

void CLogView::reload() {
  lines_.clear();
  widest_ = 0;
  for (const std::string& line : LogStore::instance().Lines()) append(line);
  updateScrollRanges();
  viewport()->update();
}

void CLogView::updateScrollRanges() {
  const int lineHeight = LineHeight();
  const int total = static_cast<int>(lines_.size()) * lineHeight;
  verticalScrollBar()->setSingleStep(lineHeight);
  verticalScrollBar()->setPageStep(kPageLines * lineHeight);
  verticalScrollBar()->setRange(0, std::max(0, total - viewport()->height()));
  horizontalScrollBar()->setSingleStep(fontMetrics().averageCharWidth());
  horizontalScrollBar()->setPageStep(viewport()->width());
  horizontalScrollBar()->setRange(0, std::max(0, widest_ - viewport()->width()));
}

void CLogView::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  updateScrollRanges();
}

void CLogView::paintEvent(QPaintEvent*) {
  QPainter painter(viewport());
  const int lineHeight = LineHeight();
  const int top = verticalScrollBar()->value();
  const int left = horizontalScrollBar()->value();
  const std::size_t first = static_cast<std::size_t>(top / lineHeight);
  const int ascent = fontMetrics().ascent();
  for (std::size_t i = first; i < lines_.size(); ++i) {
    const int y = static_cast<int>(i) * lineHeight - top;
    if (y > viewport()->height()) break;
    painter.setPen(lines_[i].colour);
    painter.drawText(-left, y + ascent, lines_[i].text);
  }
}

bool CLogView::event(QEvent* e) {
  if (WinMessageEvent* m = AsWinMessage(e)) {
    switch (m->message) {
      case WM_LOG_TEXT: LogView::OnLogText(m->wParam, m->lParam); break;
      case WM_RESTART_GRAPH: LogView::OnRestartGraph(graph_); break;
      case WM_VSCROLL:
        if (m->wParam == SB_BOTTOM) verticalScrollBar()->setValue(verticalScrollBar()->maximum());
        if (m->wParam == SB_LINEDOWN) verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        break;
      default: break;
    }
    return true;
  }
  return QAbstractScrollArea::event(e);
}

void CLogView::mouseReleaseEvent(QMouseEvent* e) {
  if (e->button() == Qt::RightButton) {
    menu_->popup(e->globalPosition().toPoint());
    return;
  }
  QAbstractScrollArea::mouseReleaseEvent(e);
}

void CLogView::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) {
    plat::postMessage(mainFrame_, WM_TOGGLE_RECORDING, 0, 0);
    return;
  }
  QAbstractScrollArea::keyPressEvent(e);
}
