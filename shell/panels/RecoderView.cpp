#include "shell/panels/RecoderView.h"

#include "platform/win/messages.h"

CRecoderView::CRecoderView(CDialogWndRecoder::Context context, QWidget* parent)
    : QScrollArea(parent), panel_(new CDialogWndRecoder(std::move(context))) {
  setObjectName("CRecoderView");
  setFocusPolicy(Qt::StrongFocus);
  panel_->resize(panel_->sizeHint());
  setWidget(panel_);
}

bool CRecoderView::event(QEvent* e) {
  if (WinMessageEvent* m = AsWinMessage(e)) {
    if (m->message == WM_TOGGLE_RECORDING) panel_->Toggle();
    return true;
  }
  return QScrollArea::event(e);
}

void CRecoderView::focusInEvent(QFocusEvent* e) {
  QScrollArea::focusInEvent(e);
  panel_->setFocus();
}
