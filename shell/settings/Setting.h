// The setting values bound to one camera option of the capture filter
// through its property interface. Each caches the option's data, holds one
// reference to the interface and the option name the filter reports. A
// failing interface call is logged and the operation reports false, the
// cache keeping what it held before the call.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/com/unknown.h"
#include "shared/property_interfaces.h"
#include "shell/settings/AbstrValue.h"

namespace Sett {

class ScalarValue final : public AbstrValue<Scalar::Value> {
 public:
  // Also takes the option's first listed unit as the cached unit.
  bool Connect(std::int32_t optionId, std::int32_t index) override;
  bool Parse(std::string_view record) override;
  bool Restore(std::int32_t key) override;
  bool ReadFromInterface() override;
  // The unit field is "Raw" when the filter cannot name the cached unit.
  bool Format(std::int32_t optionId, std::string& out) override;
  bool Save(std::int32_t key) override;
  bool WriteToInterface() override;
  // Linear: one step of `delta`. Otherwise `delta` steps on the quadratic
  // scale v = 2 p^2 of the wide-range sliders.
  bool SetRelativeValue(std::int32_t delta, bool linear) override;
  bool SetMaxValue() override;
  bool SetMinValue() override;
  // Reads the value again when `unit` is not the cached unit.
  bool GetValue(Data& out, std::int32_t unit) override;
  bool GetMaxValue(Data& out) override;
  bool GetMinValue(Data& out) override;
  // The option name the filter reported when the value was connected.
  const std::string& Name() const { return name_; }
  bool Bound() const { return static_cast<bool>(property_); }

 private:
  ComPtr<IScalarProperty> property_;
  std::string name_;
};

class EnumValue final : public AbstrValue<Enum::Value> {
 public:
  // The index is not used: enumerated options have one instance.
  bool Connect(std::int32_t optionId, std::int32_t index) override;
  bool Parse(std::string_view record) override;
  bool Restore(std::int32_t key) override;
  bool ReadFromInterface() override;
  bool Format(std::int32_t optionId, std::string& out) override;
  bool Save(std::int32_t key) override;
  bool WriteToInterface() override;
  const std::string& Name() const { return name_; }
  bool Bound() const { return static_cast<bool>(property_); }

 private:
  ComPtr<IEnumProperty> property_;
  std::string name_;
};

class RectValue final : public AbstrValue<Rect::Value> {
 public:
  bool Connect(std::int32_t optionId, std::int32_t index) override;
  // Only a record of this option is taken (false otherwise), on top of a
  // fresh read, so a missing field reads as 0.
  bool Parse(std::string_view record) override;
  bool Restore(std::int32_t key) override;
  bool ReadFromInterface() override;
  bool Format(std::int32_t optionId, std::string& out) override;
  bool Save(std::int32_t key) override;
  bool WriteToInterface() override;
  // Only the height: the largest the window may have.
  bool SetMaxValue() override;
  bool SetMinValue() override;
  bool GetMaxValue(Data& out) override;
  bool GetMinValue(Data& out) override;
  const std::string& Name() const { return name_; }
  bool Bound() const { return static_cast<bool>(property_); }

 private:
  ComPtr<IRectProperty> property_;
  std::string name_;
};

}  // namespace Sett
