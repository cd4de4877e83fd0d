#include "shell/settings_ui/PropertyDialog.h"

#include <QVBoxLayout>

#include "platform/win/messages.h"
#include "platform/win/window_table.h"
#include "shell/app/dialog_units.h"
#include "shell/settings_ui/SettingsUiState.h"

namespace {
constexpr int kGroupBoxId = 1010;
constexpr const char* kUnsupportedSuffix = " / не поддерживается /";
}  // namespace

CPropertyDialog::CPropertyDialog(int widthDlu, int heightDlu)
    : group_(new QGroupBox(this)), widthDlu_(widthDlu), heightDlu_(heightDlu) {
  group_->setObjectName(QString::number(kGroupBoxId));
  hide();
}

CPropertyDialog::~CPropertyDialog() = default;

bool CPropertyDialog::Create(QWidget* block) {
  setParent(block);
  block_ = HwndOf(block);
  setFixedSize(DluX(widthDlu_), DluY(heightDlu_));
  group_->setGeometry(DluX(3), 0, DluX(widthDlu_ - 6), DluY(heightDlu_) - DluY(2));
  if (!OnInitDialog()) {
    setParent(nullptr);
    block_ = nullptr;
    return false;
  }
  return true;
}

void CPropertyDialog::SetCaption(const QString& caption) { group_->setTitle(caption); }

void CPropertyDialog::MarkUnsupported() {
  supported_ = false;
  if (!group_->title().endsWith(kUnsupportedSuffix)) group_->setTitle(group_->title() + kUnsupportedSuffix);
  for (QWidget* child : group_->findChildren<QWidget*>()) child->setEnabled(false);
}

int CPropertyDialog::DluX(int units) const { return ::DluX(fontMetrics(), units); }
int CPropertyDialog::DluY(int units) const { return ::DluY(fontMetrics(), units); }

void CPropertyDialog::PostToBlock(UINT message, WPARAM wParam, LPARAM lParam) const {
  if (block_) ::PostMessage(block_, message, wParam, lParam);
}

void CPropertyDialog::PostToMainFrame(UINT message) {
  if (HWND frame = SettingsUi::State().mainFrame) ::PostMessage(frame, message, 0, 0);
}

void CPropertyDialog::PostToLogPane(UINT message) {
  if (HWND log = SettingsUi::State().logPane) ::PostMessage(log, message, 0, 0);
}

bool CPropertyDialog::event(QEvent* e) {
  if (WinMessageEvent* m = AsWinMessage(e)) {
    OnMessage(m->message, m->wParam, m->lParam);
    return true;
  }
  return QWidget::event(e);
}
