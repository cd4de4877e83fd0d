#include "shell/settings_ui/SettingBlock.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include "platform/win/messages.h"
#include "shell/app/dialog_units.h"
#include "platform/win/window_table.h"
#include "shell/settings/RecordText.h"
#include "shell/settings_ui/EnumPropertyDialog.h"
#include "shell/settings_ui/RectPropertyDialog.h"
#include "shell/settings_ui/ScalarPropertyDialog.h"

namespace {
// Template 130 and its header button, in dialog units.
constexpr int kWidthDlu = 194;
constexpr int kHeightDlu = 22;
constexpr int kHeaderXDlu = 5;
constexpr int kHeaderYDlu = 5;
constexpr int kHeaderWidthDlu = 187;
constexpr int kHeaderHeightDlu = 12;

// The smallest type a header title is shrunk to.
constexpr qreal kMinTitlePoints = 6;

// Whether a dialog takes a preset line of instance `index` of its option.
// Parse reads missing fields as 0, so a line of another record kind (an
// enum-shaped line naming a scalar option, say) would write 0; and a line
// of another instance of a scalar option belongs to that instance.
bool takes(const CPropertyDialog& dialog, std::string_view record, std::int32_t index) {
  const std::size_t separators = Sett::Record::SeparatorCount(record);
  if (const auto* scalar = dynamic_cast<const CScalarPropertyDialog*>(&dialog)) {
    const std::int32_t optionId = Sett::Record::Number(Sett::Record::Field(Sett::Record::Split(record), 0));
    return separators == 3 && (scalar->OptionId() != optionId || scalar->Index() == index);
  }
  if (dynamic_cast<const CEnumPropertyDialog*>(&dialog)) return separators == 2;
  if (dynamic_cast<const CRectPropertyDialog*>(&dialog)) return separators == 5;
  return true;
}

// Whether the button shows its whole text in `font`.
bool textFits(const QPushButton& button, const QFont& font) {
  QStyleOptionButton option;
  option.initFrom(&button);
  option.fontMetrics = QFontMetrics(font);
  option.text = button.text();
  const QSize text = option.fontMetrics.size(Qt::TextShowMnemonic, option.text);
  return button.style()->sizeFromContents(QStyle::CT_PushButton, &option, text, &button).width() <= button.width();
}

// A title too long for the header is set in smaller type rather than
// losing both its ends.
void fitTitle(QPushButton& header) {
  QFont font = header.font();
  if (font.pointSizeF() <= 0) return;
  while (!textFits(header, font) && font.pointSizeF() > kMinTitlePoints) font.setPointSizeF(font.pointSizeF() - 0.5);
  header.setFont(font);
}
}  // namespace

CSettingBlock::CSettingBlock(const QString& title, QWidget* view) : QWidget(view), header_(new QPushButton(title, this)) {
  setObjectName("130");
  const QFontMetrics font = fontMetrics();
  resize(TemplateWidth(font), DluY(font, kHeightDlu));
  header_->setObjectName(QString::number(kHeaderId));
  header_->setGeometry(DluX(font, kHeaderXDlu), DluY(font, kHeaderYDlu), DluX(font, kHeaderWidthDlu),
                       DluY(font, kHeaderHeightDlu));
  fitTitle(*header_);
  setFocusProxy(header_);
  connect(header_, &QPushButton::clicked, this, [this] { Toggle(); });
}

CSettingBlock::~CSettingBlock() {
  // In the order they were added: a dialog that writes its value when it
  // goes does so before the ones added after it.
  for (auto& child : children_) child.reset();
}

int CSettingBlock::TemplateWidth(const QFontMetrics& font) { return DluX(font, kWidthDlu); }

bool CSettingBlock::AddProperty(std::unique_ptr<CPropertyDialog> dialog) {
  if (!dialog || !dialog->Create(this)) return false;
  dialog->move(header_->x(), height());
  resize(width(), height() + dialog->height());
  dialog->show();
  children_.push_back(std::move(dialog));
  return true;
}

void CSettingBlock::Toggle() {
  expanded_ = -expanded_;
  int total = 0;
  for (const auto& child : children_) total += child->height() * expanded_;
  // The dialogs stay where they are; a collapsed block clips them.
  resize(width(), height() + total);
  if (QWidget* view = parentWidget()) {
    QEvent relayout(QEvent::LayoutRequest);
    QCoreApplication::sendEvent(view, &relayout);
  }
}

void CSettingBlock::ApplyRecord(std::string_view record) {
  for (const auto& child : children_) child->ApplyRecord(record);
}

void CSettingBlock::ApplyRecord(std::string_view record, std::int32_t index) {
  for (const auto& child : children_)
    if (takes(*child, record, index)) child->ApplyRecord(record);
}

void CSettingBlock::RefreshChildren() {
  for (const auto& child : children_) child->RefreshControls();
}

bool CSettingBlock::event(QEvent* e) {
  WinMessageEvent* m = AsWinMessage(e);
  if (!m) return QWidget::event(e);
  switch (m->message) {
    case WM_SETTING_CHANGED: onSettingChanged(m->wParam); break;
    // The dialog of that option takes its new limits.
    case WM_OPTION_LIMITS_CHANGED: postToChildren(m->message, m->wParam, m->lParam); break;
    default: break;
  }
  return true;
}

void CSettingBlock::onSettingChanged(WPARAM cascade) {
  RefreshChildren();
  // A change made in this block reaches the other blocks of the panel once;
  // their refresh (cascade 1) goes no further.
  if (cascade != 0) return;
  QWidget* view = parentWidget();
  if (!view) return;
  for (QObject* object : view->children()) {
    auto* sibling = qobject_cast<QWidget*>(object);
    if (sibling == this) continue;
    if (HWND handle = HwndOf(sibling)) ::PostMessage(handle, WM_SETTING_CHANGED, 1, 0);
  }
}

void CSettingBlock::postToChildren(UINT message, WPARAM wParam, LPARAM lParam) {
  for (const auto& child : children_) ::PostMessage(child->hwnd(), message, wParam, lParam);
}
