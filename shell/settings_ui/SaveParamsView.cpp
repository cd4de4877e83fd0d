#include "shell/settings_ui/SaveParamsView.h"

CSaveParamsView::CSaveParamsView(CSaveParamsDialog::Context context, QWidget* parent)
    : QScrollArea(parent), dialog_(new CSaveParamsDialog(std::move(context))) {
  setObjectName("CSaveParamsView");
  setFocusPolicy(Qt::StrongFocus);
  // The dialog follows the column's width; taller cells leave room below it.
  setWidget(dialog_);
  setWidgetResizable(true);
}

int CSaveParamsView::FittingHeight() const {
  // The scroll area sizes a resizable widget to itself: the dialog's own
  // size is its hint.
  return dialog_->sizeHint().expandedTo(dialog_->minimumSize()).height() + 2 * frameWidth();
}

void CSaveParamsView::focusInEvent(QFocusEvent* e) {
  QScrollArea::focusInEvent(e);
  dialog_->setFocus();
}
