#include "shell/settings_ui/ScalarPropertyDialog.h"

#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <algorithm>
#include <utility>

#include "platform/com/name_table.h"
#include "platform/win/messages.h"
#include "shell/graph/Graph.h"
#include "shell/settings/SettingsHost.h"
#include "shell/settings_ui/SettingsUiState.h"
#include "shell/settings_ui/SliderScale.h"
#include "shell/settings_ui/UpDownControl.h"

namespace {

constexpr int kEditId = 1001;
constexpr int kUnitsId = 1002;
constexpr int kSpinId = 1004;
constexpr int kSliderId = 1011;
constexpr int kMinLabelId = 1106;
constexpr int kMaxLabelId = 1107;

constexpr std::int32_t kExposureOption = 0x400002;
constexpr std::int32_t kPeriodOption = 0x400003;
constexpr std::int32_t kWindowOption = 0x400006;
constexpr std::int32_t kImageIntensifierOption = 0x400022;
constexpr std::int32_t kDecimationOption = 0x400055;
// The frame period is shown as a rate first: that is how operators think
// of it.
constexpr std::int32_t kFramesPerSecond = 31;

}  // namespace

CScalarPropertyDialog::CScalarPropertyDialog(std::int32_t optionId, std::int32_t index, std::string caption,
                                             std::string_view record, std::int32_t applyMode)
    : COptionPropertyDialog(192, 49, optionId, index, std::move(caption), applyMode) {
  supported_ = binding_.Initialise(record);
  if (optionId == kImageIntensifierOption) SettingsUi::State().imageIntensifierPresent = supported_;
}

CScalarPropertyDialog::~CScalarPropertyDialog() = default;

void CScalarPropertyDialog::ApplyRecord(std::string_view record) {
  if (!supported_) return;
  // A value waiting for release keeps the record's unit: showing it in
  // another unit would read the camera's old value over it.
  if (binding_.ApplyRecord(record) && !immediate()) {
    Sett::Scalar::Value taken;
    binding_.value.Value(taken);
    selectUnit(taken.unit);
  }
  RefreshControls();
}

void CScalarPropertyDialog::selectUnit(std::int32_t unit) {
  const auto listed = std::find(unitIds_.begin(), unitIds_.end(), unit);
  const QSignalBlocker quiet(units_);
  if (listed != unitIds_.end()) {
    units_->setCurrentIndex(static_cast<int>(listed - unitIds_.begin()));
  } else if (!unitIds_.empty() && immediate()) {
    // Read again in the first listed unit by the refresh.
    units_->setCurrentIndex(0);
  } else {
    // A value waiting for release in a unit the list lacks would be lost by
    // reading it again in a listed unit: it stays in its own unit.
    units_->setCurrentIndex(-1);
  }
}

bool CScalarPropertyDialog::OnInitDialog() {
  buildControls();
  SetCaption(QString::fromStdString(binding_.caption));
  if (!supported_ || !loadUnits()) {
    MarkUnsupported();
    return true;
  }
  Sett::Scalar::Value current;
  if (immediate()) binding_.value.ReadFromInterface();
  if (binding_.optionId == kPeriodOption && binding_.index == 0) binding_.value.GetValue(current, kFramesPerSecond);
  else binding_.value.Value(current);

  selectUnit(current.unit);
  RefreshControls();
  return true;
}

bool CScalarPropertyDialog::loadUnits() {
  CGraph* graph = Sett::Host::Current() ? &Sett::Host::Current()->graph : nullptr;
  ComPtr<IScalarProperty> property;
  if (!graph || !graph->GetScalarProperty(binding_.optionId, binding_.index, property.put()) || !property) return false;
  SAFEARRAY* raw = nullptr;
  LONG count = 0;
  if (FAILED(property->IsValid(binding_.index)) || FAILED(property->GetUnits(&raw, &count))) return false;
  const QSignalBlocker quiet(units_);
  for (const auto& [id, name] : plat::ReadNameTable(raw)) {
    if (id == 0) continue;
    unitIds_.push_back(id);
    units_->addItem(QString::fromStdString(name));
  }
  units_->setVisible(!unitIds_.empty());
  return true;
}

std::int32_t CScalarPropertyDialog::selectedUnit() const {
  const int at = units_->currentIndex();
  return at >= 0 && at < static_cast<int>(unitIds_.size()) ? unitIds_[static_cast<std::size_t>(at)] : 0;
}

void CScalarPropertyDialog::RefreshControls() {
  if (!supported_) return;
  const std::int32_t unit = selectedUnit();
  auto& value = binding_.value;
  if (immediate()) value.ReadFromInterface();
  Sett::Scalar::Value current, min, max;
  // A unit the camera will not read in leaves the controls as they were.
  if (!value.GetValue(current, unit) || !value.GetMinValue(min) || !value.GetMaxValue(max)) return;

  minLabel_->setText(QString::asprintf("%d", min.value));
  maxLabel_->setText(QString::asprintf("%d", max.value));
  const SliderScale::Layout scale = SliderScale::For(min.value, max.value, current.value);
  linear_ = scale.linear;
  {
    const QSignalBlocker quiet(slider_);
    slider_->setRange(scale.minimum, scale.maximum);
    slider_->setPageStep(scale.page);
    slider_->setValue(scale.position);
  }
  lastSliderPosition_ = slider_->value();
  spin_->setRange(min.value, max.value);
  spin_->SetPosition(current.value);
  edit_->setEnabled(min.value < max.value);
}

void CScalarPropertyDialog::onSliderAction(int action) {
  const int position = slider_->sliderPosition();
  int step = 0;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: step = -1; break;
    case QAbstractSlider::SliderSingleStepAdd: step = 1; break;
    case QAbstractSlider::SliderPageStepSub: step = -slider_->pageStep(); break;
    case QAbstractSlider::SliderPageStepAdd: step = slider_->pageStep(); break;
    // Dragging, the wheel and Home/End put the thumb somewhere: the step is
    // how far it went, so the picture follows the drag.
    case QAbstractSlider::SliderMove:
    case QAbstractSlider::SliderToMinimum:
    case QAbstractSlider::SliderToMaximum: step = position - lastSliderPosition_; break;
    default: return;
  }
  if (step == 0) return;
  if (!immediate()) {
    // Kept within the range the spin holds: the quadratic scale's ends
    // fall beside the option's own.
    const std::int32_t v = position == slider_->maximum()
                               ? spin_->maximum()
                               : std::clamp(linear_ ? position : SliderScale::QuadraticValue(position),
                                            spin_->minimum(), spin_->maximum());
    binding_.value.SetValue({v, selectedUnit()});
    spin_->SetPosition(v);
    lastSliderPosition_ = position;
    return;
  }
  // The right end is the exact maximum, which a quadratic step would miss.
  // A refusal is in the log; the refresh shows what the camera holds.
  if (position == slider_->maximum()) {
    if (binding_.value.SetMaxValue()) binding_.value.WriteToInterface();
  } else {
    binding_.value.SetRelativeValue(step, linear_);
  }
  Notify();
  RefreshControls();
}

void CScalarPropertyDialog::onSpinStep(int change) {
  if (!immediate()) {
    binding_.value.SetValue({spin_->Position(), selectedUnit()});
    return;
  }
  binding_.value.SetRelativeValue(change, true);
  Notify();
  RefreshControls();
}

void CScalarPropertyDialog::onEditEnter() {
  const int number = spin_->Position();
  binding_.value.SetValue({number, selectedUnit()});
  if (immediate()) {
    binding_.value.WriteToInterface();
    Notify();
    RefreshControls();
  } else {
    spin_->SetPosition(number);
  }
  edit_->setModified(false);
}

void CScalarPropertyDialog::Notify() {
  if (!immediate()) return;
  PostSettingChanged();
  if (binding_.optionId != kPeriodOption && binding_.optionId != kDecimationOption) return;
  if (!SettingsUi::State().imageIntensifierPresent) PostToBlock(WM_OPTION_LIMITS_CHANGED, kExposureOption, 0);
  PostToBlock(WM_OPTION_LIMITS_CHANGED, kWindowOption, 0);
  PostToMainFrame(WM_PERIOD_CHANGED);
}

bool CScalarPropertyDialog::OnMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
  if (message != WM_OPTION_LIMITS_CHANGED || static_cast<std::int32_t>(wParam) != binding_.optionId) return false;
  if (!supported_) return true;
  if (binding_.value.SetMaxValue() && immediate()) binding_.value.WriteToInterface();
  RefreshControls();
  return true;
}

bool CScalarPropertyDialog::eventFilter(QObject* watched, QEvent* event) {
  // Leaving the edit without Enter throws the typed text away.
  if (watched == edit_ && event->type() == QEvent::FocusOut && edit_->isModified()) RefreshControls();
  return CPropertyDialog::eventFilter(watched, event);
}

void CScalarPropertyDialog::buildControls() {
  QWidget* group = GroupBox();
  const int left = DluX(3);  // the group box's own offset in the dialog
  auto place = [&](QWidget* w, int id, int x, int y, int cx, int cy) {
    w->setObjectName(QString::number(id));
    w->setGeometry(DluX(x) - left, DluY(y), DluX(cx), DluY(cy));
  };
  edit_ = new QLineEdit(group);
  place(edit_, kEditId, 8, 12, 69, 12);
  spin_ = new CUpDownControl(edit_, group);
  place(spin_, kSpinId, 77, 12, 10, 12);
  units_ = new QComboBox(group);
  place(units_, kUnitsId, 90, 12, 90, 12);
  slider_ = new QSlider(Qt::Horizontal, group);
  place(slider_, kSliderId, 15, 26, 141, 15);
  minLabel_ = new QLabel(group);
  place(minLabel_, kMinLabelId, 8, 39, 60, 8);
  maxLabel_ = new QLabel(group);
  place(maxLabel_, kMaxLabelId, 120, 39, 60, 8);
  maxLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

  edit_->installEventFilter(this);
  connect(edit_, &QLineEdit::returnPressed, this, [this] { onEditEnter(); });
  spin_->SetStepHandler([this](int change) { onSpinStep(change); });
  connect(units_, &QComboBox::currentIndexChanged, this, [this] { RefreshControls(); });
  connect(slider_, &QAbstractSlider::actionTriggered, this, [this](int action) { onSliderAction(action); });
}
