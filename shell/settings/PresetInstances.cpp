#include "shell/settings/PresetInstances.h"

#include "shell/settings/PresetLine.h"
#include "shell/settings/RecordText.h"
#include "shell/settings/Setting.h"

namespace Sett {
namespace {
// More instances than any option has; the probe stops at the first missing.
constexpr std::int32_t kMaxInstances = 8;
}  // namespace

std::int32_t InstancePicker::Pick(std::string_view line) {
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

const std::vector<std::string>& InstancePicker::NamesOf(std::int32_t id) {
  auto [it, fresh] = names_.try_emplace(id);
  for (std::int32_t k = 0; fresh && k < kMaxInstances; ++k) {
    ScalarValue probe;
    if (!probe.Connect(id, k)) break;
    it->second.push_back(probe.Name());
  }
  return it->second;
}

}  // namespace Sett
