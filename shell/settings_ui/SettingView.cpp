#include "shell/settings_ui/SettingView.h"

CSettingView::CSettingView(const QString& name, QWidget* parent) : QScrollArea(parent) {
  setObjectName(name);
  setWidgetResizable(false);
  auto* content = new QWidget;
  // The dialogs sit on the colour of buttons, as the panels always have.
  content->setBackgroundRole(QPalette::Button);
  content->setAutoFillBackground(true);
  setBackgroundRole(QPalette::Button);
  setWidget(content);
  content->installEventFilter(this);
}

CSettingView::~CSettingView() {
  // In panel order, before the scrolled area takes the windows with it.
  for (auto& block : blocks_) block.reset();
}

void CSettingView::OnInitialUpdate() {
  if (!updated_) {
    updated_ = true;
    if (blocks_.empty()) BuildBlocks();
    layoutBlocks();
  }
  if (!blocks_.empty()) blocks_.front()->setFocus();
}

void CSettingView::AppendBlock(std::unique_ptr<CSettingBlock> block) {
  blocks_.push_back(std::move(block));
  layoutBlocks();
}

void CSettingView::layoutBlocks() {
  // The scroll area moves the content by the scroll position, so the
  // blocks stack from its top.
  int y = 0;
  int width = 0;
  for (const auto& block : blocks_) {
    block->move(0, y);
    block->show();
    y += block->height();
    width = block->width();
  }
  widget()->resize(width, y);
}

bool CSettingView::event(QEvent* e) {
  if (WinMessageEvent* m = AsWinMessage(e)) {
    OnMessage(m->message, m->wParam, m->lParam);
    return true;
  }
  return QScrollArea::event(e);
}

bool CSettingView::eventFilter(QObject* watched, QEvent* e) {
  // A block that changed its height asks for the stack to be laid out again.
  if (watched == widget() && e->type() == QEvent::LayoutRequest) layoutBlocks();
  return QScrollArea::eventFilter(watched, e);
}

void CSettingView::showEvent(QShowEvent* e) {
  QScrollArea::showEvent(e);
  if (!updated_) OnInitialUpdate();
}
