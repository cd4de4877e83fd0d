#include "shell/settings/Setting.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/com/bstr_holder.h"
#include "platform/com/safearray_holder.h"
#include "platform/com/variant.h"
#include "platform/kernel/text_codec.h"
#include "shell/app/ComErr.h"
#include "shell/app/LogStore.h"
#include "shell/graph/Graph.h"
#include "shell/settings/RecordText.h"
#include "shell/settings/SettingsHost.h"

using COMERR::Check;

namespace Sett {
namespace {

constexpr std::string_view kUnit = ".\\Setting";
constexpr const char* kUnbound = "Параметр камеры не подключен";

// Runs one operation that calls a property interface: a COM error raised
// inside goes to the log with this unit and `line`, and the operation
// reports false.
template <class Body>
bool Logged(int line, Body&& body) {
  try {
    return body();
  } catch (const COMERR::CErrorBase& e) {
    LogError(kUnit, line, e.text());
    return false;
  }
}

// Owners look at the supported flag first; a call on an unbound value is a
// fault of the owner and is logged rather than dereferencing null.
template <class P>
P* Require(const ComPtr<P>& property) {
  if (!property) throw COMERR::CTextError(kUnbound);
  return property.get();
}

template <class P>
std::string NameOf(P* property) {
  plat::Bstr name;
  Check(property, property->GetName(name.put()));
  return plat::utf16ToUtf8(name.view());
}

CGraph* HostGraph() {
  Host* host = Host::Current();
  return host ? &host->graph : nullptr;
}

SettingStore* HostStore() {
  Host* host = Host::Current();
  return host ? &host->store : nullptr;
}

// The first unit the option lists, or 0 (the plain number, never listed).
// A fresh value reads in it: an option of time or voltage does not take
// unit 0 on every camera.
std::int32_t FirstUnit(IScalarProperty* property) {
  SAFEARRAY* raw = nullptr;
  LONG count = 0;
  if (FAILED(property->GetUnits(&raw, &count))) return 0;
  const plat::SafeArrayPtr table(raw);
  VARIANT id;
  VariantInit(&id);
  const LONG at[2] = {0, 0};
  std::int32_t unit = 0;
  if (table && count > 0 && SUCCEEDED(SafeArrayGetElement(table.get(), at, &id)) && id.vt == VT_I4) unit = id.lVal;
  VariantClear(&id);
  return unit;
}

std::int32_t Clamp32(std::int64_t v) {
  return static_cast<std::int32_t>(
      std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

// ---- scalar ----

bool ScalarValue::Connect(std::int32_t optionId, std::int32_t index) {
  CGraph* graph = HostGraph();
  ComPtr<IScalarProperty> property;
  if (!graph || !graph->GetScalarProperty(optionId, index, property.put()) || !property) return false;
  try {
    Check(property.get(), property->IsValid(index));
    name_ = NameOf(property.get());
    data_.unit = FirstUnit(property.get());
  } catch (const COMERR::CErrorBase&) {
    // Not logged: the owner shows the option as unsupported instead.
    return false;
  }
  property_ = std::move(property);
  return true;
}

bool ScalarValue::Parse(std::string_view record) {
  const auto fields = Record::Split(record);
  if (Record::Field(fields, 1) != name_) return true;
  data_.value = Record::Number(Record::Field(fields, 2));
  data_.unit = 0;
  if (!property_) return true;
  const plat::Bstr unitName(plat::utf8ToUtf16(Record::WithoutLineFeeds(Record::Field(fields, 3))));
  LONG unit = 0;
  // A unit name this camera does not know leaves the number in unit 0.
  if (SUCCEEDED(property_->GetUnitId(unitName.get(), &unit))) data_.unit = unit;
  return true;
}

bool ScalarValue::Restore(std::int32_t key) {
  SettingStore* store = HostStore();
  if (!store) return false;
  const auto entry = TakeFirst(store->scalars, key);
  if (!entry) return false;
  data_ = {entry->value, entry->unit};
  return true;
}

bool ScalarValue::Save(std::int32_t key) {
  SettingStore* store = HostStore();
  if (!store) return false;
  store->scalars.push_back({key, data_.value, data_.unit, {}});
  return true;
}

bool ScalarValue::ReadFromInterface() {
  return Logged(__LINE__, [&] {
    LONG value = 0;
    IScalarProperty* p = Require(property_);
    Check(p, p->GetValue(&value, static_cast<UINT>(data_.unit)));
    data_.value = value;
    return true;
  });
}

bool ScalarValue::Format(std::int32_t optionId, std::string& out) {
  std::string unitName = "Raw";
  plat::Bstr text;
  if (property_ && SUCCEEDED(property_->GetUnitName(data_.unit, text.put()))) unitName = plat::utf16ToUtf8(text.view());
  out = Record::Join({std::to_string(optionId), name_, std::to_string(data_.value), unitName});
  return true;
}

bool ScalarValue::WriteToInterface() {
  return Logged(__LINE__, [&] {
    IScalarProperty* p = Require(property_);
    Check(p, p->SetValue(data_.value, static_cast<UINT>(data_.unit)));
    return true;
  });
}

bool ScalarValue::SetRelativeValue(std::int32_t delta, bool linear) {
  const bool stepped = Logged(__LINE__, [&] {
    std::int64_t step = delta;
    if (!linear) {
      const auto position = static_cast<std::int64_t>(std::sqrt(std::max(0.0, data_.value * 0.5)));
      const std::int64_t target = 2 * (position + delta) * (position + delta);
      step = target - data_.value;
    }
    IScalarProperty* p = Require(property_);
    Check(p, p->SetRelativeValue(Clamp32(step), static_cast<UINT>(data_.unit)));
    return true;
  });
  return stepped && ReadFromInterface();
}

bool ScalarValue::SetMaxValue() {
  Data max;
  if (!GetMaxValue(max)) return false;
  data_.value = max.value;
  return true;
}

bool ScalarValue::SetMinValue() {
  Data min;
  if (!GetMinValue(min)) return false;
  data_.value = min.value;
  return true;
}

bool ScalarValue::GetValue(Data& out, std::int32_t unit) {
  if (unit != data_.unit) {
    const Data before = data_;
    data_.unit = unit;
    if (!ReadFromInterface()) {
      data_ = before;
      return false;
    }
  }
  out = data_;
  return true;
}

bool ScalarValue::GetMaxValue(Data& out) {
  return Logged(__LINE__, [&] {
    LONG value = 0;
    IScalarProperty* p = Require(property_);
    Check(p, p->GetMaxValue(&value, static_cast<UINT>(data_.unit)));
    out = {value, data_.unit};
    return true;
  });
}

bool ScalarValue::GetMinValue(Data& out) {
  return Logged(__LINE__, [&] {
    LONG value = 0;
    IScalarProperty* p = Require(property_);
    Check(p, p->GetMinValue(&value, static_cast<UINT>(data_.unit)));
    out = {value, data_.unit};
    return true;
  });
}

// ---- enum ----

bool EnumValue::Connect(std::int32_t optionId, std::int32_t /*index*/) {
  CGraph* graph = HostGraph();
  ComPtr<IEnumProperty> property;
  if (!graph || !graph->GetEnumProperty(optionId, property.put()) || !property) return false;
  return Logged(__LINE__, [&] {
    Check(property.get(), property->IsValid(0));
    name_ = NameOf(property.get());
    property_ = std::move(property);
    return true;
  });
}

bool EnumValue::Parse(std::string_view record) {
  const auto fields = Record::Split(record);
  if (Record::Field(fields, 1) != name_) return true;
  return Logged(__LINE__, [&] {
    const plat::Bstr text(plat::utf8ToUtf16(Record::WithoutLineFeeds(Record::Field(fields, 2))));
    LONG value = 0;
    IEnumProperty* p = Require(property_);
    Check(p, p->GetItemValue(text.get(), &value));
    data_.value = value;
    return true;
  });
}

bool EnumValue::Restore(std::int32_t key) {
  SettingStore* store = HostStore();
  if (!store) return false;
  const auto entry = TakeFirst(store->enums, key);
  if (!entry) return false;
  data_.value = entry->value;
  return true;
}

bool EnumValue::Save(std::int32_t key) {
  SettingStore* store = HostStore();
  if (!store) return false;
  store->enums.push_back({key, data_.value});
  return true;
}

bool EnumValue::ReadFromInterface() {
  return Logged(__LINE__, [&] {
    LONG value = 0;
    IEnumProperty* p = Require(property_);
    Check(p, p->GetValue(&value));
    data_.value = value;
    return true;
  });
}

bool EnumValue::Format(std::int32_t optionId, std::string& out) {
  return Logged(__LINE__, [&] {
    plat::Bstr text;
    IEnumProperty* p = Require(property_);
    Check(p, p->GetItemName(data_.value, text.put()));
    out = Record::Join({std::to_string(optionId), name_, plat::utf16ToUtf8(text.view())});
    return true;
  });
}

bool EnumValue::WriteToInterface() {
  return Logged(__LINE__, [&] {
    IEnumProperty* p = Require(property_);
    Check(p, p->SetValue(data_.value));
    return true;
  });
}

// ---- rect ----

bool RectValue::Connect(std::int32_t optionId, std::int32_t /*index*/) {
  CGraph* graph = HostGraph();
  ComPtr<IRectProperty> property;
  if (!graph || !graph->GetRectProperty(optionId, property.put()) || !property) return false;
  return Logged(__LINE__, [&] {
    Check(property.get(), property->IsValid(0));
    name_ = NameOf(property.get());
    property_ = std::move(property);
    return true;
  });
}

bool RectValue::Parse(std::string_view record) {
  const auto fields = Record::Split(record);
  if (Record::Field(fields, 1) != name_) return false;
  ReadFromInterface();
  data_ = {Record::Number(Record::Field(fields, 2)), Record::Number(Record::Field(fields, 3)),
           Record::Number(Record::Field(fields, 4)), Record::Number(Record::Field(fields, 5))};
  return true;
}

bool RectValue::Restore(std::int32_t key) {
  SettingStore* store = HostStore();
  if (!store) return false;
  const auto entry = TakeFirst(store->rects, key);
  if (!entry) return false;
  data_ = {entry->x, entry->y, entry->width, entry->height};
  return true;
}

bool RectValue::Save(std::int32_t key) {
  SettingStore* store = HostStore();
  if (!store) return false;
  store->rects.push_back({key, data_.x, data_.y, data_.width, data_.height});
  return true;
}

bool RectValue::ReadFromInterface() {
  return Logged(__LINE__, [&] {
    Data read;
    IRectProperty* p = Require(property_);
    Check(p, p->GetValue(&read.x, &read.y, &read.width, &read.height));
    data_ = read;
    return true;
  });
}

bool RectValue::Format(std::int32_t optionId, std::string& out) {
  out = Record::Join({std::to_string(optionId), name_, std::to_string(data_.x), std::to_string(data_.y),
                      std::to_string(data_.width), std::to_string(data_.height)});
  return true;
}

bool RectValue::WriteToInterface() {
  return Logged(__LINE__, [&] {
    IRectProperty* p = Require(property_);
    Check(p, p->SetValue(data_.x, data_.y, data_.width, data_.height));
    return true;
  });
}

bool RectValue::SetMaxValue() {
  Data max;
  if (!GetMaxValue(max)) return false;
  data_.height = max.height;
  return true;
}

bool RectValue::SetMinValue() {
  Data min;
  if (!GetMinValue(min)) return false;
  data_ = min;
  return true;
}

bool RectValue::GetMaxValue(Data& out) {
  return Logged(__LINE__, [&] {
    Data max;
    IRectProperty* p = Require(property_);
    Check(p, p->GetMaxValue(&max.x, &max.y, &max.width, &max.height));
    out = max;
    return true;
  });
}

bool RectValue::GetMinValue(Data& out) {
  return Logged(__LINE__, [&] {
    Data min;
    IRectProperty* p = Require(property_);
    Check(p, p->GetMinValue(&min.x, &min.y, &min.width, &min.height));
    out = min;
    return true;
  });
}

}  // namespace Sett
