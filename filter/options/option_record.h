// One option of the camera: its kind, the three managed values (only the one
// of its kind is filled from the library) and its unit or value names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "filter/options/managed_value.h"

namespace Options {

enum class Kind : int { Scalar = 0, Enum = 1, Rect = 2 };

// Units of a scalar option, values of an enumerated one. Texts are UTF-8.
struct NameEntry {
  std::int32_t id = 0;
  std::string text;
};

class OptionRecord {
 public:
  Kind kind = Kind::Scalar;
  ScalarManaged scalar;
  EnumManaged enumerated;
  RectManaged rect;
  std::vector<NameEntry> names;

  // Of the managed value that matches the kind.
  std::uint32_t Id() const;
  std::uint32_t Index() const;
  const std::string& Name() const;
  KL3_HANDLE Handle() const;

  // False without any library call unless the option is a scalar.
  bool SetRelativeValue(std::int32_t delta, bool linear = false);
  bool ReadFromInterface();

  // First entry with this identifier, or null.
  const NameEntry* FindName(std::int32_t id) const;
  // First entry whose text, in code page 1251, equals these bytes, or null.
  const NameEntry* FindText(std::string_view cp1251) const;
};

}  // namespace Options
