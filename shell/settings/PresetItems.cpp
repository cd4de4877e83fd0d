#include "shell/settings/PresetItems.h"

#include <cstdio>
#include <utility>

#include "shell/settings/PresetInstances.h"
#include "shell/settings/RecordText.h"

namespace Sett {
namespace {

template <class Value>
void TakeValue(c_cameraoption_item& item, SettingBinding<Value>& into, const SettingBinding<Value>* from) {
  if (!from || !from->Bound()) return;
  into.value = from->value;
  std::string record;
  if (into.value.Format(into.optionId, record)) item.SetTexts(record);
}

}  // namespace

const std::vector<PresetOption> kSetupPresetOptions = {
    {0x400003, 0, c_cameraoption_item::kScalar}, {0x400002, 0, c_cameraoption_item::kScalar},
    {0x40000a, 0, c_cameraoption_item::kScalar}, {0x40000d, 0, c_cameraoption_item::kScalar},
    {0x400055, 0, c_cameraoption_item::kScalar}, {0x400007, 0, c_cameraoption_item::kScalar},
    {0x400054, 0, c_cameraoption_item::kScalar}, {0x400022, 0, c_cameraoption_item::kScalar},
    {0x400003, 1, c_cameraoption_item::kScalar}, {0x400041, 0, c_cameraoption_item::kScalar},
    {0x400005, 0, c_cameraoption_item::kEnum},   {0x400004, 0, c_cameraoption_item::kEnum},
    {0x400016, 0, c_cameraoption_item::kEnum},   {0x400017, 0, c_cameraoption_item::kEnum},
    {0x400006, 0, c_cameraoption_item::kRect},
};

std::optional<PresetContents> LoadPresetItems(PresetStore& store, const std::string& name) {
  const auto lines = store.ReadPreset(name);
  if (!lines) return std::nullopt;
  PresetContents contents;
  InstancePicker picker;
  bool dropped = false;
  for (const std::string& line : *lines) {
    if (!IsPresetRecord(line)) {
      dropped = true;
      continue;
    }
    try {
      const std::int32_t index = Record::SeparatorCount(line) == 3 ? picker.Pick(line) : 0;
      c_cameraoption_item item = LoadPresetLine(line, index);
      // An item whose value did not come from its line would store a value
      // nobody chose if the preset were saved again.
      if (item.Bound() && item.taken) contents.items.push_back(std::move(item));
      else dropped = true;
    } catch (const c_cameraoption_excep&) {
      dropped = true;
    }
  }
  if (dropped) {
    char text[512];
    std::snprintf(text, sizeof text, kPresetFileErrorFormat, name.c_str());
    contents.warning = text;
  }
  return contents;
}

bool ApplyPresetRecords(PresetStore& store, const std::string& name, const PresetRecordOffer& offer) {
  InstancePicker picker;
  return store.ApplyPreset(name, [&](const std::string& line) {
    if (!IsPresetRecord(line)) return;
    try {
      offer(line, Record::SeparatorCount(line) == 3 ? picker.Pick(line) : 0);
    } catch (const c_cameraoption_excep&) {
      // An instance this camera lacks: no setting of the panel is its own.
    }
  });
}

std::vector<std::string> PresetLines(std::vector<c_cameraoption_item>& items) {
  std::vector<std::string> lines;
  std::string record;
  for (auto& item : items)
    if (item.Format(record)) lines.push_back(record);
  return lines;
}

std::vector<c_cameraoption_item> PresetFromPanel(const PanelBindings& panel) {
  std::vector<c_cameraoption_item> items;
  for (const PresetOption& o : kSetupPresetOptions) {
    switch (o.kind) {
      case c_cameraoption_item::kScalar:
        if (auto* b = panel.scalar(o.optionId, o.index); b && b->Bound()) items.push_back(MakePresetItem(*b));
        break;
      case c_cameraoption_item::kEnum:
        if (auto* b = panel.enumerated(o.optionId); b && b->Bound()) items.push_back(MakePresetItem(*b));
        break;
      default:
        if (auto* b = panel.rect(o.optionId); b && b->Bound()) items.push_back(MakePresetItem(*b));
        break;
    }
  }
  return items;
}

void RefreshFromPanel(std::vector<c_cameraoption_item>& items, const PanelBindings& panel) {
  for (auto& item : items) {
    switch (item.kind) {
      case c_cameraoption_item::kScalar:
        TakeValue(item, item.scalar, panel.scalar(item.scalar.optionId, item.scalar.index));
        break;
      case c_cameraoption_item::kEnum:
        TakeValue(item, item.enumerated, panel.enumerated(item.enumerated.optionId));
        break;
      default:
        TakeValue(item, item.rect, panel.rect(item.rect.optionId));
        break;
    }
  }
}

}  // namespace Sett
