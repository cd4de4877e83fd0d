// What the dialogs of one camera option share: the option's binding, made
// and initialised with the dialog, its record text and the change message
// to the block.
#pragma once
#include <cstdint>
#include <string>
#include <utility>

#include "platform/win/messages.h"
#include "shell/settings/SettingBinding.h"
#include "shell/settings_ui/PropertyDialog.h"

template <class Value>
class COptionPropertyDialog : public CPropertyDialog {
 public:
  // The option's binding, for the set-up panel's registry.
  Sett::SettingBinding<Value>& Binding() { return binding_; }
  std::int32_t OptionId() const { return binding_.optionId; }
  std::int32_t Index() const { return binding_.index; }

  bool Format(std::string& out) override { return supported_ && binding_.value.Format(binding_.optionId, out); }

 protected:
  COptionPropertyDialog(int widthDlu, int heightDlu, std::int32_t optionId, std::int32_t index, std::string caption,
                        std::int32_t applyMode)
      : CPropertyDialog(widthDlu, heightDlu), binding_(optionId, index, std::move(caption), applyMode) {}

  bool immediate() const { return binding_.mode == Sett::ApplyImmediately; }
  // The block refreshes all its dialogs, then those of the other blocks.
  void PostSettingChanged() const { PostToBlock(WM_SETTING_CHANGED, 0, reinterpret_cast<LPARAM>(hwnd())); }

  Sett::SettingBinding<Value> binding_;
};
