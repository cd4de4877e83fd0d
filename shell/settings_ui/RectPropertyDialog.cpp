#include "shell/settings_ui/RectPropertyDialog.h"

#include <utility>

CRectPropertyDialog::CRectPropertyDialog(std::int32_t optionId, std::int32_t index, std::string caption,
                                         std::string_view record, std::int32_t applyMode)
    : CPropertyDialog(192, 58),
      binding_(optionId, index, std::move(caption), applyMode),
      decimation_(kDecimationOption, 0, std::string(), Sett::ApplyImmediately) {
  const bool window = binding_.Initialise(record);
  const bool decimation = decimation_.Initialise({});
  supported_ = window && decimation;
}

CRectPropertyDialog::~CRectPropertyDialog() = default;

bool CRectPropertyDialog::Format(std::string& out) { return binding_.value.Format(binding_.optionId, out); }
void CRectPropertyDialog::ApplyRecord(std::string_view) {}
void CRectPropertyDialog::Notify() {}
void CRectPropertyDialog::RefreshControls() {}
bool CRectPropertyDialog::OnInitDialog() { return true; }
bool CRectPropertyDialog::OnMessage(UINT, WPARAM, LPARAM) { return false; }
