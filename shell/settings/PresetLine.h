// One line of a preset file in memory: a bound, detached copy of the option's
// setting and the texts the preset editor shows for it.
#pragma once
#include <cstdint>
#include <exception>
#include <string>
#include <string_view>

#include "shell/settings/Setting.h"
#include "shell/settings/SettingBinding.h"

namespace Sett {

// A preset line whose option this camera does not offer.
struct c_cameraoption_excep : std::exception {
  const char* what() const noexcept override { return "c_cameraoption_excep"; }
};

class c_cameraoption_item {
 public:
  enum Kind : std::int32_t { kScalar = 0, kEnum = 1, kRect = 2 };

  c_cameraoption_item();
  virtual ~c_cameraoption_item() = default;
  c_cameraoption_item(c_cameraoption_item&&) = default;
  c_cameraoption_item(const c_cameraoption_item&) = default;
  c_cameraoption_item& operator=(const c_cameraoption_item&) = delete;

  // Only the binding of `kind` is used.
  SettingBinding<ScalarValue> scalar;
  SettingBinding<EnumValue> enumerated;
  SettingBinding<RectValue> rect;
  std::int32_t kind = kRect;

  std::string idText;
  std::string nameText;
  std::string valueText;
  std::string unitText;

  // Whether the line's data reached the value: its name was the option's
  // and its texts were known to the camera.
  bool taken = false;

  // Whether the line's option is bound (a malformed line leaves it unbound).
  bool Bound() const;
  std::int32_t OptionId() const;
  std::int32_t Index() const;
  // The line as a preset file stores it; false for an unbound item, which
  // must not be written.
  bool Format(std::string& out);
  // Refills the display texts from a record text of this item's kind.
  void SetTexts(std::string_view record);
};

// Whether a line is a whole record of one of the three kinds a preset holds:
// 2, 3 or 5 separators and every numeric field a complete number. Anything
// else is damage, which is never applied or kept.
bool IsPresetRecord(std::string_view line);

// Builds the item of one preset line, the option bound at (id, `index`).
// A line with other than 2 (enum), 3 (scalar) or 5 (rect) separators gives
// an unbound item. Throws c_cameraoption_excep when the option is not there.
c_cameraoption_item LoadPresetLine(std::string_view line, std::int32_t index = 0);

// Items made from a panel's binding: a detached copy, texts from its record.
c_cameraoption_item MakePresetItem(const SettingBinding<ScalarValue>& binding);
c_cameraoption_item MakePresetItem(const SettingBinding<EnumValue>& binding);
c_cameraoption_item MakePresetItem(const SettingBinding<RectValue>& binding);

}  // namespace Sett
