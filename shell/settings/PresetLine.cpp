#include "shell/settings/PresetLine.h"

#include "shell/settings/RecordText.h"

namespace Sett {
namespace {

using Record::After;
using Record::Field;

// Binds the item's binding of its kind and takes the line's data (the
// binding is detached, so the camera is not written). True when the data was
// taken.
template <class Value>
bool BindLine(SettingBinding<Value>& binding, std::string_view line, std::int32_t index) {
  const auto fields = Record::Split(line);
  binding.optionId = Record::Number(Field(fields, 0));
  binding.index = index;
  binding.caption = std::string(Field(fields, 1));
  if (!binding.value.Connect(binding.optionId, index)) throw c_cameraoption_excep();
  // Parse also reports success for a record of another option.
  return binding.value.Parse(line) && binding.caption == binding.value.Name();
}

// The item takes the binding's option, caption and value; its own mode
// stays detached, so the item never writes to the camera.
template <class Value>
c_cameraoption_item FromBinding(const SettingBinding<Value>& binding, std::int32_t kind,
                                SettingBinding<Value> c_cameraoption_item::*slot) {
  c_cameraoption_item item;
  item.kind = kind;
  SettingBinding<Value>& copy = item.*slot;
  copy.optionId = binding.optionId;
  copy.index = binding.index;
  copy.caption = binding.caption;
  copy.value = binding.value;
  std::string record;
  if (copy.value.Format(copy.optionId, record)) item.SetTexts(record);
  item.taken = item.Bound();
  return item;
}

}  // namespace

c_cameraoption_item::c_cameraoption_item() = default;

bool c_cameraoption_item::Bound() const {
  switch (kind) {
    case kScalar: return scalar.Bound();
    case kEnum: return enumerated.Bound();
    default: return rect.Bound();
  }
}

std::int32_t c_cameraoption_item::OptionId() const {
  return kind == kScalar ? scalar.optionId : kind == kEnum ? enumerated.optionId : rect.optionId;
}

std::int32_t c_cameraoption_item::Index() const {
  return kind == kScalar ? scalar.index : kind == kEnum ? enumerated.index : rect.index;
}

bool c_cameraoption_item::Format(std::string& out) {
  if (!Bound()) return false;
  switch (kind) {
    case kScalar: return scalar.value.Format(scalar.optionId, out);
    case kEnum: return enumerated.value.Format(enumerated.optionId, out);
    default: return rect.value.Format(rect.optionId, out);
  }
}

void c_cameraoption_item::SetTexts(std::string_view record) {
  const auto fields = Record::Split(record);
  idText = std::string(Field(fields, 0));
  nameText = std::string(Field(fields, 1));
  switch (kind) {
    case kScalar:
      valueText = std::string(Field(fields, 2)) + " ";
      unitText = std::string(After(record, 3));
      break;
    case kEnum:
      valueText = std::string(After(record, 2));
      break;
    default:
      valueText = " x = " + std::string(Field(fields, 2)) + " y = " + std::string(Field(fields, 3)) +
                  " ширина = " + std::string(Field(fields, 4)) + " высота = " + std::string(After(record, 5));
      break;
  }
}

bool IsPresetRecord(std::string_view line) {
  const auto fields = Record::Split(line);
  const std::size_t separators = Record::SeparatorCount(line);
  if (!Record::IsNumber(Field(fields, 0))) return false;
  switch (separators) {
    case 2: return true;
    case 3: return Record::IsNumber(Field(fields, 2));
    case 5:
      for (std::size_t i = 2; i <= 5; ++i)
        if (!Record::IsNumber(Field(fields, i))) return false;
      return true;
    default: return false;
  }
}

c_cameraoption_item LoadPresetLine(std::string_view line, std::int32_t index) {
  c_cameraoption_item item;
  switch (Record::SeparatorCount(line)) {
    case 2:
      item.kind = c_cameraoption_item::kEnum;
      item.taken = BindLine(item.enumerated, line, index);
      break;
    case 3:
      item.kind = c_cameraoption_item::kScalar;
      item.taken = BindLine(item.scalar, line, index);
      break;
    case 5:
      item.kind = c_cameraoption_item::kRect;
      item.taken = BindLine(item.rect, line, index);
      break;
    default:
      return item;
  }
  item.SetTexts(line);
  return item;
}

c_cameraoption_item MakePresetItem(const SettingBinding<ScalarValue>& binding) {
  return FromBinding(binding, c_cameraoption_item::kScalar, &c_cameraoption_item::scalar);
}

c_cameraoption_item MakePresetItem(const SettingBinding<EnumValue>& binding) {
  return FromBinding(binding, c_cameraoption_item::kEnum, &c_cameraoption_item::enumerated);
}

c_cameraoption_item MakePresetItem(const SettingBinding<RectValue>& binding) {
  return FromBinding(binding, c_cameraoption_item::kRect, &c_cameraoption_item::rect);
}

}  // namespace Sett
