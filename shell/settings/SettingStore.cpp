#include "shell/settings/SettingStore.h"

#include <algorithm>

namespace Sett {

void SettingStore::SeedEnum(std::int32_t key, std::int32_t value) {
  if (std::none_of(enums.begin(), enums.end(), [&](const EnumEntry& e) { return e.key == key; }))
    enums.push_back({key, value});
}

}  // namespace Sett
