#include "shell/settings_ui/SaveParamsView.h"

CSaveParamsView::CSaveParamsView(CSaveParamsDialog::Context context, QWidget* parent)
    : QScrollArea(parent), dialog_(new CSaveParamsDialog(std::move(context))) {
  setObjectName("CSaveParamsView");
  setFocusPolicy(Qt::StrongFocus);
  dialog_->resize(dialog_->sizeHint().expandedTo(dialog_->minimumSize()));
  setWidget(dialog_);
  setWidgetResizable(true);
}

int CSaveParamsView::FittingHeight() const { return dialog_->height() + 2 * frameWidth(); }

void CSaveParamsView::focusInEvent(QFocusEvent* e) {
  QScrollArea::focusInEvent(e);
  dialog_->setFocus();
}
