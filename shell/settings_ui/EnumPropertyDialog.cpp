#include "shell/settings_ui/EnumPropertyDialog.h"

#include <utility>

CEnumPropertyDialog::CEnumPropertyDialog(std::int32_t optionId, std::int32_t index, std::string caption,
                                         std::string_view record, std::int32_t applyMode)
    : CPropertyDialog(192, 32), binding_(optionId, index, std::move(caption), applyMode) {
  supported_ = binding_.Initialise(record);
}

CEnumPropertyDialog::~CEnumPropertyDialog() = default;

bool CEnumPropertyDialog::Format(std::string& out) { return binding_.value.Format(binding_.optionId, out); }
void CEnumPropertyDialog::ApplyRecord(std::string_view) {}
void CEnumPropertyDialog::Notify() {}
void CEnumPropertyDialog::RefreshControls() {}
bool CEnumPropertyDialog::OnInitDialog() { return true; }
