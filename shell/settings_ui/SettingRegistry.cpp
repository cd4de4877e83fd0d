#include "shell/settings_ui/SettingRegistry.h"

#include "shell/settings_ui/EnumPropertyDialog.h"
#include "shell/settings_ui/RectPropertyDialog.h"
#include "shell/settings_ui/ScalarPropertyDialog.h"
#include "shell/settings_ui/SettingBlock.h"

namespace {
template <class Value>
Sett::SettingBinding<Value>* find(const std::vector<Sett::SettingBinding<Value>*>& list, std::int32_t optionId,
                                  std::int32_t index) {
  for (auto* binding : list)
    if (binding->optionId == optionId && binding->index == index) return binding;
  return nullptr;
}
}  // namespace

void CSettingRegistry::Register(const CSettingBlock& block) {
  for (const auto& child : block.Children()) {
    if (auto* scalar = dynamic_cast<CScalarPropertyDialog*>(child.get())) scalars_.push_back(&scalar->Binding());
    else if (auto* en = dynamic_cast<CEnumPropertyDialog*>(child.get())) enums_.push_back(&en->Binding());
    else if (auto* rect = dynamic_cast<CRectPropertyDialog*>(child.get())) rects_.push_back(&rect->Binding());
  }
}

Sett::SettingBinding<Sett::ScalarValue>* CSettingRegistry::FindScalar(std::int32_t optionId,
                                                                      std::int32_t index) const {
  return find(scalars_, optionId, index);
}

Sett::SettingBinding<Sett::EnumValue>* CSettingRegistry::FindEnum(std::int32_t optionId, std::int32_t index) const {
  return find(enums_, optionId, index);
}

Sett::SettingBinding<Sett::RectValue>* CSettingRegistry::FindRect(std::int32_t optionId, std::int32_t index) const {
  return find(rects_, optionId, index);
}

Sett::PanelBindings CSettingRegistry::Bindings() const {
  // Enumerated options and the input window have one instance each.
  return {[this](std::int32_t id, std::int32_t index) { return FindScalar(id, index); },
          [this](std::int32_t id) { return FindEnum(id, 0); },
          [this](std::int32_t id) { return FindRect(id, 0); }};
}
