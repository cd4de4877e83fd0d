#include "shell/settings_ui/RectPropertyDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

#include "platform/win/messages.h"
#include "shell/app/LogStore.h"
#include "shell/graph/Graph.h"
#include "shell/settings/SettingsHost.h"
#include "shell/settings_ui/SettingsUiState.h"
#include "shell/settings_ui/UpDownControl.h"

namespace {

constexpr int kApplyId = 1009;
constexpr int kCentreId = 1174;

struct FieldControls {
  int edit;
  int spin;
  const char* label;
  int x;  // the label's, in dialog units; the edit follows it
  int y;
  int labelWidth;
};
// In the order of the window's numbers: x, y, width, height.
constexpr FieldControls kFields[] = {{1005, 1012, "x", 8, 12, 12},
                                     {1007, 1014, "y", 8, 27, 12},
                                     {1006, 1015, "Ширина", 90, 12, 36},
                                     {1008, 1016, "Высота", 90, 27, 36}};

}  // namespace

CRectPropertyDialog::CRectPropertyDialog(std::int32_t optionId, std::int32_t index, std::string caption,
                                         std::string_view record, std::int32_t applyMode)
    : COptionPropertyDialog(192, 58, optionId, index, std::move(caption), applyMode),
      decimation_(kDecimationOption, 0, std::string(), Sett::ApplyImmediately) {
  const bool window = binding_.Initialise(record);
  const bool decimation = decimation_.Initialise({});
  supported_ = window && decimation;
}

CRectPropertyDialog::~CRectPropertyDialog() = default;

void CRectPropertyDialog::ApplyRecord(std::string_view record) {
  if (supported_ && binding_.ApplyRecord(record)) RefreshControls();
}

bool CRectPropertyDialog::OnInitDialog() {
  buildControls();
  SetCaption(QString::fromStdString(binding_.caption));
  if (!supported_) {
    MarkUnsupported();
    return true;
  }
  RefreshControls();
  return true;
}

void CRectPropertyDialog::RefreshControls() {
  centre_->setChecked(SettingsUi::State().centreWindow);
  if (!supported_) return;
  decimation_.value.ReadFromInterface();
  Sett::Scalar::Value decimation;
  decimation_.value.Value(decimation);
  decimationFactor_ = decimation.value;
  Sett::Rect::Value min, max, current;
  // A failed read is in the log; the controls keep the last good numbers.
  if (!binding_.value.GetMinValue(min) || !binding_.value.GetMaxValue(max)) return;
  if (immediate()) binding_.value.ReadFromInterface();
  binding_.value.Value(current);
  const std::int32_t Sett::Rect::Value::*field[] = {&Sett::Rect::Value::x, &Sett::Rect::Value::y,
                                                     &Sett::Rect::Value::width, &Sett::Rect::Value::height};
  for (std::size_t i = 0; i < std::size(field); ++i) {
    spins_[i]->setRange(min.*field[i], max.*field[i]);
    edits_[i]->setEnabled(min.*field[i] < max.*field[i]);
    spins_[i]->SetPosition(current.*field[i]);
  }
  apply_->setEnabled(false);
}

void CRectPropertyDialog::apply() {
  apply_->setEnabled(false);
  // The camera is the judge of the window: it keeps each number within
  // limits that move with the others, and the read-back is shown.
  Sett::Rect::Value window{spins_[X]->Number(), spins_[Y]->Number(), spins_[Width]->Number(),
                           spins_[Height]->Number()};
  if (SettingsUi::State().centreWindow) {
    Sett::Rect::Value max;
    if (!binding_.value.GetMaxValue(max)) return;
    const auto spare = static_cast<std::uint32_t>(max.height - window.height);
    window.y = static_cast<std::int32_t>((spare * static_cast<std::uint32_t>(decimationFactor_)) >> 1);
  }
  binding_.value.SetValue(window);
  if (immediate()) {
    binding_.value.WriteToInterface();
    binding_.value.ReadFromInterface();
  }
  RefreshControls();
  Notify();
}

void CRectPropertyDialog::Notify() {
  if (!immediate()) return;
  PostSettingChanged();
  restartAndTell();
}

bool CRectPropertyDialog::OnMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  if (message != WM_OPTION_LIMITS_CHANGED || static_cast<std::int32_t>(wParam) != binding_.optionId) return false;
  if (!supported_) return true;
  if (binding_.value.SetMaxValue() && immediate()) binding_.value.WriteToInterface();
  RefreshControls();
  restartAndTell();
  return true;
}

void CRectPropertyDialog::restartAndTell() {
  // A new window size needs the pins connected again.
  if (Sett::Host* host = Sett::Host::Current(); host && !host->graph.Restart())
    LogError(".\\RectPropertyDialog", __LINE__, host->graph.GetLastErrorText());
  PostToMainFrame(WM_WINDOW_CHANGED);
}

void CRectPropertyDialog::buildControls() {
  QWidget* group = GroupBox();
  const int left = DluX(3);  // the group box's own offset in the dialog
  for (std::size_t i = 0; i < std::size(kFields); ++i) {
    const FieldControls& f = kFields[i];
    auto* label = new QLabel(QString::fromUtf8(f.label), group);
    label->setGeometry(DluX(f.x) - left, DluY(f.y), DluX(f.labelWidth), DluY(12));
    const int editX = f.x + f.labelWidth;
    edits_[i] = new QLineEdit(group);
    edits_[i]->setObjectName(QString::number(f.edit));
    edits_[i]->setGeometry(DluX(editX) - left, DluY(f.y), DluX(44), DluY(12));
    spins_[i] = new CUpDownControl(edits_[i], group);
    spins_[i]->setObjectName(QString::number(f.spin));
    spins_[i]->setGeometry(DluX(editX + 44) - left, DluY(f.y), DluX(10), DluY(12));
    connect(edits_[i], &QLineEdit::textEdited, this, [this] { apply_->setEnabled(true); });
    connect(edits_[i], &QLineEdit::returnPressed, this, [this] { apply(); });
    spins_[i]->SetStepHandler([this](int) { apply_->setEnabled(true); });
  }
  centre_ = new QCheckBox(QStringLiteral("Центрировать"), group);
  centre_->setObjectName(QString::number(kCentreId));
  centre_->setGeometry(DluX(8) - left, DluY(42), DluX(80), DluY(12));
  connect(centre_, &QCheckBox::toggled, this, [](bool on) { SettingsUi::State().centreWindow = on; });
  apply_ = new QPushButton(QStringLiteral("Применить"), group);
  apply_->setObjectName(QString::number(kApplyId));
  apply_->setGeometry(DluX(130) - left, DluY(41), DluX(50), DluY(14));
  apply_->setEnabled(false);
  connect(apply_, &QPushButton::clicked, this, [this] { apply(); });
}
