#include "shell/settings_ui/EnumPropertyDialog.h"

#include <QComboBox>
#include <algorithm>
#include <utility>

#include "platform/com/name_table.h"
#include "shell/graph/Graph.h"
#include "shell/settings/SettingsHost.h"

namespace {
constexpr int kComboId = 1013;
}  // namespace

CEnumPropertyDialog::CEnumPropertyDialog(std::int32_t optionId, std::int32_t index, std::string caption,
                                         std::string_view record, std::int32_t applyMode)
    : COptionPropertyDialog(192, 32, optionId, index, std::move(caption), applyMode) {
  supported_ = binding_.Initialise(record);
}

CEnumPropertyDialog::~CEnumPropertyDialog() = default;

void CEnumPropertyDialog::ApplyRecord(std::string_view record) {
  if (!supported_) return;
  binding_.ApplyRecord(record);
  RefreshControls();
}

bool CEnumPropertyDialog::OnInitDialog() {
  combo_ = new QComboBox(GroupBox());
  combo_->setObjectName(QString::number(kComboId));
  combo_->setGeometry(DluX(8) - DluX(3), DluY(12), DluX(172), DluY(12));
  SetCaption(QString::fromStdString(binding_.caption));
  if (!supported_ || !loadItems()) {
    MarkUnsupported();
    return true;
  }
  RefreshControls();
  connect(combo_, &QComboBox::activated, this, [this](int position) { onSelected(position); });
  return true;
}

bool CEnumPropertyDialog::loadItems() {
  CGraph* graph = Sett::Host::Current() ? &Sett::Host::Current()->graph : nullptr;
  ComPtr<IEnumProperty> property;
  if (!graph || !graph->GetEnumProperty(binding_.optionId, property.put()) || !property) return false;
  SAFEARRAY* raw = nullptr;
  LONG count = 0;
  if (FAILED(property->IsValid(binding_.index)) || FAILED(property->GetItems(&raw, &count))) return false;
  for (const auto& [id, text] : plat::ReadNameTable(raw)) {
    itemIds_.push_back(id);
    combo_->addItem(QString::fromStdString(text));
  }
  return true;
}

void CEnumPropertyDialog::RefreshControls() {
  if (!supported_) return;
  if (immediate()) binding_.value.ReadFromInterface();
  Sett::Enum::Value current;
  binding_.value.Value(current);
  const auto at = std::find(itemIds_.begin(), itemIds_.end(), current.value);
  combo_->setCurrentIndex(at == itemIds_.end() ? -1 : static_cast<int>(at - itemIds_.begin()));
}

void CEnumPropertyDialog::onSelected(int position) {
  const bool valid = position >= 0 && position < static_cast<int>(itemIds_.size());
  binding_.value.SetValue({valid ? itemIds_[static_cast<std::size_t>(position)] : 0});
  if (!immediate()) return;
  // A refusal is in the log; showing the camera's value again keeps the
  // combo from claiming an item the camera did not take.
  if (!binding_.value.WriteToInterface()) RefreshControls();
  Notify();
}

void CEnumPropertyDialog::Notify() {
  if (immediate()) PostSettingChanged();
}
