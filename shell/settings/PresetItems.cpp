#include "shell/settings/PresetItems.h"

#include <cstdio>
#include <map>
#include <set>
#include <utility>

#include "shell/settings/RecordText.h"

namespace Sett {
namespace {

// More instances than any option has; the probe stops at the first missing.
constexpr std::int32_t kMaxInstances = 8;

// A record carries no index, so the instance of a scalar line is found by
// its name: the first instance with that name not yet taken by an earlier
// line of the file. When the name's instances are all taken the line belongs
// to an instance this camera lacks and cannot be bound; a name no instance
// has goes to instance 0, where the name check turns it away.
class InstancePicker {
 public:
  std::int32_t Pick(std::string_view line) {
    const auto fields = Record::Split(line);
    const std::int32_t id = Record::Number(Record::Field(fields, 0));
    const std::string_view name = Record::Field(fields, 1);
    const std::vector<std::string>& names = NamesOf(id);
    bool named = false;
    for (std::int32_t k = 0; k < static_cast<std::int32_t>(names.size()); ++k) {
      if (names[static_cast<std::size_t>(k)] != name) continue;
      named = true;
      if (taken_.insert({id, k}).second) return k;
    }
    if (named) throw c_cameraoption_excep();
    return 0;
  }

 private:
  const std::vector<std::string>& NamesOf(std::int32_t id) {
    auto [it, fresh] = names_.try_emplace(id);
    for (std::int32_t k = 0; fresh && k < kMaxInstances; ++k) {
      ScalarValue probe;
      if (!probe.Connect(id, k)) break;
      it->second.push_back(probe.Name());
    }
    return it->second;
  }

  std::map<std::int32_t, std::vector<std::string>> names_;
  std::set<std::pair<std::int32_t, std::int32_t>> taken_;
};

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

bool ApplyPresetRecords(PresetStore& store, const std::string& name,
                        const std::function<void(const std::string& line)>& offer) {
  return store.ApplyPreset(name, [&](const std::string& line) {
    if (IsPresetRecord(line)) offer(line);
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
