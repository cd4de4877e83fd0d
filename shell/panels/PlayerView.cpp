#include "shell/panels/PlayerView.h"

CPlayerView::CPlayerView(CGraph& graph, QWidget* parent) : QScrollArea(parent), panel_(new CDialogWndPlayer(graph)) {
  setObjectName("CPlayerView");
  setFocusPolicy(Qt::StrongFocus);
  panel_->resize(panel_->sizeHint());
  setWidget(panel_);
}

void CPlayerView::focusInEvent(QFocusEvent* e) {
  QScrollArea::focusInEvent(e);
  panel_->setFocus();
}
