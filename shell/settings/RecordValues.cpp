#include "shell/settings/RecordValues.h"

#include "shell/graph/Graph.h"
#include "shell/settings/RecordText.h"
#include "shell/settings/SettingsHost.h"

namespace Sett {
namespace {

using Record::Field;
using Record::Number;

// Both kinds restore by parsing the text they saved.
template <class Value>
bool RestoreRecord(Value& value, std::int32_t key) {
  Host* host = Host::Current();
  if (!host) return false;
  const auto entry = TakeFirst(host->store.records, key);
  if (!entry) return false;
  return value.Parse(entry->text);
}

template <class Value>
bool SaveRecord(Value& value, std::int32_t key) {
  Host* host = Host::Current();
  std::string text;
  if (!host || !value.Format(key, text)) return false;
  host->store.records.push_back({key, std::move(text)});
  return true;
}

}  // namespace

bool WBValue::Parse(std::string_view record) {
  const auto fields = Record::Split(record);
  if (Field(fields, 1) != name_) return true;
  data_.automatic = Number(Field(fields, 2));
  data_.enabled = Number(Field(fields, 3));
  data_.red = Number(Field(fields, 4));
  data_.green = Number(Field(fields, 5));
  data_.blue = Number(Field(fields, 6));
  return true;
}

bool WBValue::Restore(std::int32_t key) { return RestoreRecord(*this, key); }
bool WBValue::Save(std::int32_t key) { return SaveRecord(*this, key); }

bool WBValue::Format(std::int32_t key, std::string& out) {
  out = Record::Join({std::to_string(key), name_, std::to_string(data_.automatic), std::to_string(data_.enabled),
                      std::to_string(data_.red), std::to_string(data_.green), std::to_string(data_.blue)});
  return true;
}

SummationValue::SummationValue() {
  if (Host* host = Host::Current()) host->graph.GetCamera2(camera_.put());
}

bool SummationValue::Parse(std::string_view record) {
  const auto fields = Record::Split(record);
  // The camera is told only by SetValue.
  if (Field(fields, 1) == name_) data_.value = Number(Field(fields, 2));
  return true;
}

bool SummationValue::Restore(std::int32_t key) { return RestoreRecord(*this, key); }
bool SummationValue::Save(std::int32_t key) { return SaveRecord(*this, key); }

bool SummationValue::Format(std::int32_t key, std::string& out) {
  out = Record::Join({std::to_string(key), name_, std::to_string(data_.value)});
  return true;
}

bool SummationValue::SetValue(const Data& data) {
  data_ = data;
  // The camera only records the flag; the call is made for its effect.
  if (camera_) camera_->SetSummation(data_.value);
  return true;
}

}  // namespace Sett
