#include "shell/settings_ui/ScalarPropertyDialog.h"

#include <utility>

#include "shell/settings_ui/SettingsUiState.h"

namespace {
constexpr std::int32_t kImageIntensifierOption = 0x400022;
}  // namespace

CScalarPropertyDialog::CScalarPropertyDialog(std::int32_t optionId, std::int32_t index, std::string caption,
                                             std::string_view record, std::int32_t applyMode)
    : CPropertyDialog(192, 49), binding_(optionId, index, std::move(caption), applyMode) {
  supported_ = binding_.Initialise(record);
  if (optionId == kImageIntensifierOption) SettingsUi::State().imageIntensifierPresent = supported_;
}

CScalarPropertyDialog::~CScalarPropertyDialog() = default;

bool CScalarPropertyDialog::Format(std::string& out) { return binding_.value.Format(binding_.optionId, out); }
void CScalarPropertyDialog::ApplyRecord(std::string_view) {}
void CScalarPropertyDialog::Notify() {}
void CScalarPropertyDialog::RefreshControls() {}
bool CScalarPropertyDialog::OnInitDialog() { return true; }
bool CScalarPropertyDialog::OnMessage(UINT, WPARAM, LPARAM) { return false; }
bool CScalarPropertyDialog::eventFilter(QObject* watched, QEvent* event) { return CPropertyDialog::eventFilter(watched, event); }
