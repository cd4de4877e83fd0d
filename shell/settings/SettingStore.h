// Where setting values outlive the panels that show them: four lists kept by
// the application for the whole run, never written to disk. Each list is in
// insertion order; a key may occur several times and the oldest is taken
// first.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace Sett {

struct ScalarEntry {
  std::int32_t key = 0;
  std::int32_t value = 0;
  std::int32_t unit = 0;
  std::string text;  // always empty
};

struct RectEntry {
  std::int32_t key = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

struct EnumEntry {
  std::int32_t key = 0;
  std::int32_t value = 0;
};

// White balance and summation keep their whole record text.
struct RecordEntry {
  std::int32_t key = 0;
  std::string text;
};

struct SettingStore {
  std::vector<ScalarEntry> scalars;
  std::vector<RectEntry> rects;
  std::vector<EnumEntry> enums;
  std::vector<RecordEntry> records;

  // Appends {key, value} to the enum list unless the key is there already.
  void SeedEnum(std::int32_t key, std::int32_t value);
};

// Removes and returns the first entry of `list` with `key`; the rest keep
// their order.
template <class Entry>
std::optional<Entry> TakeFirst(std::vector<Entry>& list, std::int32_t key) {
  for (auto it = list.begin(); it != list.end(); ++it) {
    if (it->key != key) continue;
    Entry entry = std::move(*it);
    list.erase(it);
    return entry;
  }
  return std::nullopt;
}

}  // namespace Sett
