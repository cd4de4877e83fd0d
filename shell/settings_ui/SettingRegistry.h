// The set-up panel's option registry: the live bindings of its scalar, enum
// and input-window dialogs, in the order the dialogs appear, so the preset
// commands can read the panel's current values. The pointers stay valid as
// long as the blocks they were taken from.
#pragma once
#include <cstdint>
#include <vector>

#include "shell/settings/PresetItems.h"
#include "shell/settings/Setting.h"
#include "shell/settings/SettingBinding.h"

class CSettingBlock;

class CSettingRegistry {
 public:
  // Registers the bindings of the block's scalar, enum and rect dialogs;
  // other dialogs have none the presets use.
  void Register(const CSettingBlock& block);

  // The first binding of that option and instance, or null.
  Sett::SettingBinding<Sett::ScalarValue>* FindScalar(std::int32_t optionId, std::int32_t index) const;
  Sett::SettingBinding<Sett::EnumValue>* FindEnum(std::int32_t optionId, std::int32_t index) const;
  Sett::SettingBinding<Sett::RectValue>* FindRect(std::int32_t optionId, std::int32_t index) const;

  // The lookups as the preset code asks them; valid while this registry is.
  Sett::PanelBindings Bindings() const;

 private:
  std::vector<Sett::SettingBinding<Sett::ScalarValue>*> scalars_;
  std::vector<Sett::SettingBinding<Sett::EnumValue>*> enums_;
  std::vector<Sett::SettingBinding<Sett::RectValue>*> rects_;
};
