// A preset as the preset editor holds it: one item per line, read from its
// file or made from the set-up panel's settings, and written back.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "shell/settings/PresetLine.h"
#include "shell/settings/PresetStore.h"

namespace Sett {

// Shown once for a file with lines that could not be taken.
inline constexpr const char* kPresetFileErrorFormat = "Ошибка в файле %s";

struct PresetContents {
  std::vector<c_cameraoption_item> items;
  // "Ошибка в файле <name>" when a line was dropped: its option is not on
  // this camera, or it is no record of an option.
  std::optional<std::string> warning;
};

// Reads a preset file into items; nothing when the file cannot be read.
// A scalar line goes to the instance of its option whose name it carries;
// where instances share a name, the lines of the option take its instances
// in order, and a line left without an instance on this camera is dropped,
// so editing never turns one instance's line into another's.
std::optional<PresetContents> LoadPresetItems(PresetStore& store, const std::string& name);

// Applies a preset as the set-up panel does (PresetStore::ApplyPreset), but
// offers only whole records, each with the instance (index) of its option
// found as the editor finds it: a damaged line would have its missing
// numbers written as 0, and instances that share a name would each take
// the other's line. A line of an instance this camera lacks is not offered.
using PresetRecordOffer = std::function<void(const std::string& line, std::int32_t index)>;
bool ApplyPresetRecords(PresetStore& store, const std::string& name, const PresetRecordOffer& offer);

// The record texts of the items, in order; unbound items are left out.
std::vector<std::string> PresetLines(std::vector<c_cameraoption_item>& items);

// The settings of the set-up panel that a new preset holds, in file order.
struct PresetOption {
  std::int32_t optionId;
  std::int32_t index;
  std::int32_t kind;  // c_cameraoption_item::Kind
};
extern const std::vector<PresetOption> kSetupPresetOptions;

// How the preset code finds the set-up panel's bindings; null when the panel
// has no such setting.
struct PanelBindings {
  std::function<const SettingBinding<ScalarValue>*(std::int32_t optionId, std::int32_t index)> scalar;
  std::function<const SettingBinding<EnumValue>*(std::int32_t optionId)> enumerated;
  std::function<const SettingBinding<RectValue>*(std::int32_t optionId)> rect;
};

// A new preset: one item per setting of kSetupPresetOptions that the panel
// has and the camera supports.
std::vector<c_cameraoption_item> PresetFromPanel(const PanelBindings& panel);

// Replaces every item's value with the panel's current value of the same
// option and index; items the panel lacks keep theirs.
void RefreshFromPanel(std::vector<c_cameraoption_item>& items, const PanelBindings& panel);

}  // namespace Sett
