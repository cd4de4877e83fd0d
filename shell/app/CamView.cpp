#include "shell/app/CamView.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QScrollBar>

#include "platform/win/messages.h"
#include "platform/win/window_table.h"
#include "shell/app/VideoWindow.h"
#include "shell/app/video_sizing.h"
#include "shell/graph/Graph.h"

CCamView::CCamView(const char* name, const Context& context) : zoom_(context.zoom) {
  setObjectName(name);
  setFocusPolicy(Qt::StrongFocus);
  setWidgetResizable(false);
  // A window smaller than the view sits in its middle.
  setAlignment(Qt::AlignCenter);
  setBackgroundRole(QPalette::Dark);
  setCursor(Qt::ArrowCursor);
  video_ = new CVideoWindow(context.graph, context.ini, context.zoom, this);
  video_->hide();
  setWidget(video_);
  connect(video_, &CVideoWindow::Sized, this, [this](QSize size) { videoSized(size); });
  // Sized once the view has its place in the frame.
  plat::postMessage(video_->hwnd(), WM_VIDEO_SIZE, 0, static_cast<LPARAM>(zoom_ ? zoom_() : VideoSizing::kFit));
}

void CCamView::videoSized(QSize size) {
  // The scroll ranges follow the window's resize, which a hidden window
  // receives only when shown.
  video_->resize(size);
  video_->show();
  horizontalScrollBar()->setValue(VideoSizing::CentredScroll(size.width(), viewport()->width()));
  verticalScrollBar()->setValue(VideoSizing::CentredScroll(size.height(), viewport()->height()));
}

void CCamView::resizeEvent(QResizeEvent* e) {
  QScrollArea::resizeEvent(e);
  // A fitted picture follows the view; a zoomed one only stays centred.
  if (zoom_ && zoom_() == VideoSizing::kFit) video_->SizeFor(VideoSizing::kFit);
}

std::unique_ptr<CCamView> CSetupCamView::Create(const Context& context) {
  if (!context.graph.BuildSetupGraph()) return nullptr;
  return std::unique_ptr<CCamView>(new CSetupCamView("CSetupCamView", context));
}

std::unique_ptr<CCamView> CPreviewCamView::Create(const Context& context) {
  if (!context.graph.BuildPreviewGraph()) return nullptr;
  return std::unique_ptr<CCamView>(new CPreviewCamView("CPreviewCamView", context));
}

CInputCamView::CInputCamView(const Context& context) : CCamView("CInputCamView", context), mainFrame_(context.mainFrame) {}

std::unique_ptr<CCamView> CInputCamView::Create(const Context& context) {
  return std::unique_ptr<CCamView>(new CInputCamView(context));
}

void CInputCamView::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Space && !e->isAutoRepeat()) {
    plat::postMessage(mainFrame_, WM_TOGGLE_RECORDING, 0, 0);
    return;
  }
  CCamView::keyPressEvent(e);
}

std::unique_ptr<CCamView> CSaveFilmCamView::Create(const Context& context) {
  return std::unique_ptr<CCamView>(new CSaveFilmCamView("CSaveFilmCamView", context));
}
